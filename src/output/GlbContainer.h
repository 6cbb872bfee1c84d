#pragma once
// The binary glTF container: a 12-byte header, the JSON chunk (padded with blanks to four
// bytes) and, when there is any, the binary chunk (padded with zeros).
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

// Writes the file, the binary chunk being the pieces one after the other; false (and the old
// file at the path as it was) when it cannot be written or would pass the container's 4 GiB
// limit.
bool WriteGlbFile(const std::filesystem::path& path, std::string_view json,
                  const std::vector<std::vector<uint8_t>>& binary);
