#pragma once
// The binary glTF container: a 12-byte header, the JSON chunk (padded with blanks to four
// bytes) and, when there is any, the binary chunk (padded with zeros).
#include <cstdint>
#include <string_view>
#include <vector>

#include "util/ByteSink.h"

// Writes the container into the sink, the binary chunk being the pieces one after the other;
// false when the sink fails or the container would pass its 4 GiB limit (then nothing is
// written).
[[nodiscard]] bool WriteGlb(TByteSink& sink, std::string_view json, const std::vector<std::vector<uint8_t>>& binary);
