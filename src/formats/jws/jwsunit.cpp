#include "formats/jws/jwsunit.h"

#include <vector>

#include "util/ByteCursor.h"

bool TJwsData::CheckSignature(const std::filesystem::path& path)
{
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, kSignature.size(), head) || head.size() < kSignature.size()) return false;
    return std::string_view(reinterpret_cast<const char*>(head.data()), head.size()) == kSignature;
}

bool TJwsData::LoadFile(const std::filesystem::path&) { return true; }
void TJwsData::LoadLayers(TgraAttribute&) {}

void TJwsData::Clear() {}
