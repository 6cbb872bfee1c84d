#include "formats/jww/JwwString.h"

#include "formats/jww/Cp932Encoder.h"
#include "util/Func_.h"

namespace {

constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kWideLongerLength = 0xFFFF;

std::string ReadWideText(TByteCursor& cursor)
{
    uint64_t units = cursor.U8();
    if (units == kLongLength) {
        units = cursor.U16();
        if (units == kWideLongerLength) units = cursor.U32();
    }
    // Checked before anything is allocated: the units must be in the file.
    if (units * 2 > cursor.Remaining()) throw TReadFailure();
    std::u16string text(static_cast<size_t>(units), u'\0');
    for (char16_t& u : text) u = static_cast<char16_t>(cursor.U16());
    return Utf16ToCp932(text);
}

}  // namespace

std::string ReadJwwRawString(TByteCursor& cursor)
{
    size_t length = cursor.U8();
    if (length == kLongLength) {
        uint16_t wide = cursor.U16();
        if (wide == kWideMarker) return ReadWideText(cursor);
        length = wide;
    }
    return cursor.Bytes(length);
}

std::string ReadJwwString(TByteCursor& cursor) { return StripControls(ReadJwwRawString(cursor)); }
