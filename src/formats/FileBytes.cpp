#include "formats/FileBytes.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>

namespace {

constexpr TReadResult kUnreadable{TReadStatus::Unreadable, 0};

// Opens a plain file and measures it; a folder opens as a stream of unbounded size.
TReadResult OpenPlainFile(const std::filesystem::path& path, std::ifstream& in, size_t& size)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return kUnreadable;
    in.open(path, std::ios::binary);
    if (!in) return kUnreadable;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < 0) return kUnreadable;
    // Where size_t is narrower than the file offset, a cast would silently read a part.
    if (static_cast<uintmax_t>(end) > SIZE_MAX) return {TReadStatus::TooLarge, 0};
    in.seekg(0, std::ios::beg);
    size = static_cast<size_t>(end);
    return {TReadStatus::Complete, size};
}

}  // namespace

TReadResult OpenFileCursor(const std::filesystem::path& path, std::optional<TByteCursor>& cursor, size_t window)
{
    cursor.reset();
    auto in = std::make_shared<std::ifstream>();
    size_t size = 0;
    const TReadResult opened = OpenPlainFile(path, *in, size);
    if (!opened) return opened;
    cursor.emplace(
        [in](uint8_t* into, size_t count) {
            in->read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
            return static_cast<size_t>(in->gcount());
        },
        size, window);
    return opened;
}

TReadResult ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    std::ifstream in;
    size_t size = 0;
    if (const TReadResult opened = OpenPlainFile(path, in, size); !opened) return opened;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return {TReadStatus::TooLarge, 0};
    } catch (const std::length_error&) {  // more than a vector can hold
        return {TReadStatus::TooLarge, 0};
    }
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        bytes.clear();
        return kUnreadable;
    }
    return {TReadStatus::Complete, bytes.size()};
}

bool FileStartsWith(const std::filesystem::path& path, std::string_view signature)
{
    std::optional<TByteCursor> cursor;
    return OpenFileCursor(path, cursor, signature.size()) && cursor->StartsWith(signature);
}
