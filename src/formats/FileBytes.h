#pragma once
// The files a reader loads, read whole into memory, and the peek at their first bytes that
// the signature check needs.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "formats/ReadResult.h"
#include "util/ByteCursor.h"

// Opens a file to be read through a cursor, `window` bytes at a time: Complete (offset = the
// file's size) with `cursor` set; or Unreadable (a folder, a missing or unreadable file) or
// TooLarge, with `cursor` empty.
TReadResult OpenFileCursor(const std::filesystem::path& path, std::optional<TByteCursor>& cursor,
                           size_t window = TByteCursor::kWindow);

// Reads a whole file into `bytes`: Complete (offset = the file's size); or Unreadable (a
// folder, a missing or unreadable file) or TooLarge, each with an empty vector.
TReadResult ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);
// True when the file's first bytes are exactly `signature` (letter case matters); false also
// when the file cannot be read or is not a plain file.
bool FileStartsWith(const std::filesystem::path& path, std::string_view signature);
