#pragma once
// How loading one file went: a status and the byte offset where reading stopped. It converts
// to true only for a file read completely, which is what the readers answered before they
// said why; a reader keeps what it read completely whatever the status.
#include <cstddef>

enum class [[nodiscard]] TReadStatus {
    Complete,       // read to its end; bytes after the last block definition are never read
    Damaged,        // reading ended inside a record or at something it cannot read past
    NotThisFormat,  // the bytes do not begin with the format's signature; nothing was read
    Unsupported,    // a version the reader does not read; nothing after the version was read
    TooLarge,       // the file, or what it declares, does not fit in memory
    Unreadable,     // the file could not be opened or read (missing, a folder, no permission)
};

struct [[nodiscard]] TReadResult {
    TReadStatus status = TReadStatus::Unreadable;
    size_t offset = 0;  // from the start of the file: where the read that ended reading began

    // A short English phrase for the status ("complete", "damaged", ...).
    const char* Description() const;
    explicit operator bool() const { return status == TReadStatus::Complete; }
};
