#pragma once
// A document written to a file safely: the bytes go to a temporary file beside the target,
// which replaces the target only when Commit is called after a complete write. Until then,
// and after any failure (a full disk, a file-size limit, a killed process), the old file at
// the path stays byte for byte. The front ends use it; the writers only see a TByteSink.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "util/ByteSink.h"
#include "util/SafeReplace.h"

// std::fopen for a path; on Windows the wide-character name is used so any file name works.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

class TFileSink final : public TByteSink {
public:
    // Opens the temporary file; Ok() is false when it cannot be created.
    explicit TFileSink(const std::filesystem::path& target);
    // Without a successful Commit the temporary file is removed: the old file stays.
    ~TFileSink() override;
    TFileSink(const TFileSink&) = delete;
    TFileSink& operator=(const TFileSink&) = delete;

    bool Write(const char* data, std::size_t size) override;
    bool Ok() const override { return !failed_; }
    // Closes the file and puts it in the target's place; false when any write, the close or
    // the rename failed, and then the old file is untouched.
    [[nodiscard]] bool Commit();

private:
    std::unique_ptr<TReplacement> replacement_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};
