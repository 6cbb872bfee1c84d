#include "formats/jww/JwwBackground.h"

#include <new>
#include <optional>

#include "formats/FileBytes.h"
#include "formats/jww/jwwunit.h"

namespace {

// The header, the screen pens among its tables, ends a few KB into the file in real drawings.
constexpr size_t kHeaderWindow = 16 * 1024;

}  // namespace

std::array<int, 2> JwwBackgroundsAfter(const std::filesystem::path& path)
{
    constexpr std::array<int, 2> kUnchanged = {0, 1};
    // The reader itself decides, on the header alone: once it has read the screen pens, the
    // rest of the file cannot change them. Only plain files are opened: peeking at anything
    // else could also consume what the conversion would read.
    std::optional<TByteCursor> cursor;
    if (!OpenFileCursor(path, cursor, kHeaderWindow)) return kUnchanged;
    try {
        TJwwData data;
        (void)data.LoadScreenPensFrom(*cursor);
        if (!data.pensRead) return kUnchanged;
        std::array<int, 2> after{};
        for (int before : kUnchanged) {
            TgraAttribute attributes;
            attributes.SetBackground(before);
            data.ImportPens(attributes);
            after[static_cast<size_t>(before)] = attributes.BackgroundMode();
        }
        return after;
    } catch (const std::bad_alloc&) {
        return kUnchanged;  // the conversion cannot hold this file either
    }
}
