#include "output/GlbContainer.h"

#include <bit>
#include <system_error>

#include "util/BufferedFile.h"

namespace {

static_assert(std::endian::native == std::endian::little, "the container is little-endian");

constexpr uint32_t kMagic = 0x46546C67;      // "glTF"
constexpr uint32_t kJsonChunk = 0x4E4F534A;  // "JSON"
constexpr uint32_t kBinaryChunk = 0x004E4942;  // "BIN\0"

uint64_t Padded(uint64_t size) { return (size + 3) / 4 * 4; }

void PutWord(TBufferedFile& file, uint32_t word)
{
    file.Write(std::string_view(reinterpret_cast<const char*>(&word), sizeof word));
}

void PutChunk(TBufferedFile& file, uint32_t type, std::string_view bytes, char padding)
{
    PutWord(file, static_cast<uint32_t>(Padded(bytes.size())));
    PutWord(file, type);
    file.Write(bytes);
    file.Write(std::string(Padded(bytes.size()) - bytes.size(), padding));
}

}  // namespace

bool WriteGlbFile(const std::filesystem::path& path, std::string_view json, std::span<const uint8_t> binary)
{
    const uint64_t total = 12 + 8 + Padded(json.size()) + (binary.empty() ? 0 : 8 + Padded(binary.size()));
    if (total > UINT32_MAX) return false;
    TBufferedFile file;
    if (!file.Create(path)) return false;
    PutWord(file, kMagic);
    PutWord(file, 2);
    PutWord(file, static_cast<uint32_t>(total));
    PutChunk(file, kJsonChunk, json, ' ');
    if (!binary.empty())
        PutChunk(file, kBinaryChunk, std::string_view(reinterpret_cast<const char*>(binary.data()), binary.size()),
                 '\0');
    return file.Close();  // on failure the old file at the path stays as it was
}
