#include "formats/jww/JwwBackground.h"

#include <new>
#include <optional>

#include "formats/FileBytes.h"
#include "formats/jww/jwwunit.h"

namespace {

// The header, the screen pens among its tables, ends a few KB into the file in real drawings.
constexpr size_t kHeaderWindow = 16 * 1024;

}  // namespace

int JwwBackgroundAfter(const std::filesystem::path& path, int modeBefore)
{
    // The reader itself decides, on the header alone: once it has read the screen pens, the
    // rest of the file cannot change them. Only plain files are opened: peeking at anything
    // else could also consume what the conversion would read.
    std::optional<TByteCursor> cursor;
    if (!OpenFileCursor(path, cursor, kHeaderWindow)) return modeBefore;
    try {
        TJwwData data;
        (void)data.LoadScreenPensFrom(*cursor);
        if (!data.pensRead) return modeBefore;
        TgraAttribute attributes;
        attributes.SetBackground(modeBefore);
        data.ImportPens(attributes);
        return attributes.BackgroundMode();
    } catch (const std::bad_alloc&) {
        return modeBefore;  // the conversion cannot hold this file either
    }
}
