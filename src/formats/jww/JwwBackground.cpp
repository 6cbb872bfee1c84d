#include "formats/jww/JwwBackground.h"

#include <fstream>
#include <new>
#include <system_error>
#include <vector>

#include "formats/jww/jwwunit.h"

namespace {

// The screen pens follow the layer names, which are short in real drawings: in the samples
// they end between 4 and 8 KB. Each further read doubles what is held.
constexpr size_t kFirstRead = 8 * 1024;

// The reader itself decides on a head of the file: once it has read the screen pens, the
// rest of the file cannot change them.
int ModeFromHead(std::ifstream& in, int modeBefore)
{
    TJwwData data;
    std::vector<char> head;
    for (size_t want = kFirstRead;; want *= 2) {
        const size_t had = head.size();
        head.resize(want);
        in.read(head.data() + had, static_cast<std::streamsize>(want - had));
        head.resize(had + static_cast<size_t>(in.gcount()));
        const TReadResult read = data.LoadBytes(std::as_bytes(std::span(head)));
        if (data.pensRead) {
            TgraAttribute attributes;
            attributes.SetBackground(modeBefore);
            data.ImportPens(attributes);
            return attributes.BackgroundMode();
        }
        // Only a head cut short can hide the pens: not when the file is read whole, nor when
        // its signature or version already ruled them out.
        if (read.status != TReadStatus::Damaged || head.size() < want) return modeBefore;
    }
}

}  // namespace

int JwwBackgroundAfter(const std::filesystem::path& path, int modeBefore)
{
    // The conversion reads only regular files; peeking at anything else could also consume
    // what the conversion would read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return modeBefore;
    std::ifstream in(path, std::ios::binary);
    if (!in) return modeBefore;
    try {
        return ModeFromHead(in, modeBefore);
    } catch (const std::bad_alloc&) {
        return modeBefore;  // the conversion cannot hold this file either
    }
}
