#include "formats/FileBytes.h"

#include <fstream>
#include <new>
#include <system_error>

namespace {

// Reads at most `count` leading bytes.
bool ReadFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& bytes)
{
    bytes.assign(count, 0);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        bytes.clear();
        return false;
    }
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return true;
}

}  // namespace

TReadResult ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes)
{
    constexpr TReadResult kUnreadable{TReadStatus::Unreadable, 0};
    bytes.clear();
    // A folder opens as a stream of unbounded size: only plain files are read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return kUnreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return kUnreadable;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0) return kUnreadable;
    // Where size_t is narrower than the file offset, a cast would silently read a part.
    if (static_cast<uintmax_t>(size) > bytes.max_size()) return {TReadStatus::TooLarge, 0};
    in.seekg(0, std::ios::beg);
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return {TReadStatus::TooLarge, 0};
    }
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        bytes.clear();
        return kUnreadable;
    }
    return {TReadStatus::Complete, bytes.size()};
}

bool FileStartsWith(const std::filesystem::path& path, std::string_view signature)
{
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, signature.size(), head) || head.size() < signature.size()) return false;
    return std::string_view(reinterpret_cast<const char*>(head.data()), head.size()) == signature;
}
