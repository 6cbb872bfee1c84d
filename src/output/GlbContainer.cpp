#include "output/GlbContainer.h"

#include <bit>
#include <system_error>

#include "util/BufferedOutput.h"

namespace {

static_assert(std::endian::native == std::endian::little, "the container is little-endian");

constexpr uint32_t kMagic = 0x46546C67;      // "glTF"
constexpr uint32_t kJsonChunk = 0x4E4F534A;  // "JSON"
constexpr uint32_t kBinaryChunk = 0x004E4942;  // "BIN\0"

uint64_t Padded(uint64_t size) { return (size + 3) / 4 * 4; }

void PutWord(TBufferedOutput& file, uint32_t word)
{
    file.Write(std::string_view(reinterpret_cast<const char*>(&word), sizeof word));
}

void PutChunkHead(TBufferedOutput& file, uint32_t type, uint64_t size)
{
    PutWord(file, static_cast<uint32_t>(Padded(size)));
    PutWord(file, type);
}

void PutPadding(TBufferedOutput& file, uint64_t size, char padding)
{
    file.Write(std::string(Padded(size) - size, padding));
}

}  // namespace

bool WriteGlb(TByteSink& sink, std::string_view json, const std::vector<std::vector<uint8_t>>& binary)
{
    uint64_t binarySize = 0;
    for (const std::vector<uint8_t>& piece : binary) binarySize += piece.size();
    const uint64_t total = 12 + 8 + Padded(json.size()) + (binarySize == 0 ? 0 : 8 + Padded(binarySize));
    if (total > UINT32_MAX) return false;
    TBufferedOutput file(sink);
    PutWord(file, kMagic);
    PutWord(file, 2);
    PutWord(file, static_cast<uint32_t>(total));
    PutChunkHead(file, kJsonChunk, json.size());
    file.Write(json);
    PutPadding(file, json.size(), ' ');
    if (binarySize != 0) {
        PutChunkHead(file, kBinaryChunk, binarySize);
        for (const std::vector<uint8_t>& piece : binary)
            if (!piece.empty()) file.Write(std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()));
        PutPadding(file, binarySize, '\0');
    }
    return file.Finish();
}
