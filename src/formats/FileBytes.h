#pragma once
// The files a reader loads, read whole into memory, and the peek at their first bytes that
// the signature check needs.
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "formats/ReadResult.h"

// Reads a whole file into `bytes`: Complete (offset = the file's size); or Unreadable (a
// folder, a missing or unreadable file) or TooLarge, each with an empty vector.
TReadResult ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);
// True when the file's first bytes are exactly `signature` (letter case matters); false also
// when the file cannot be read.
bool FileStartsWith(const std::filesystem::path& path, std::string_view signature);
