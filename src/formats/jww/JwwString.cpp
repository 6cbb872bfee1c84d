#include "formats/jww/JwwString.h"

#include "formats/jww/Cp932Encoder.h"
#include "util/Func_.h"

namespace {

constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kWideLongerLength = 0xFFFF;

// A string's length: in bytes, or in UTF-16 units when `wide`. The units of a wide string are
// checked to be in the file before anything is allocated for them.
struct TStringLength {
    bool wide = false;
    uint64_t count = 0;
};

TStringLength ReadLength(TByteCursor& cursor)
{
    const size_t length = cursor.U8();
    if (length != kLongLength) return {false, length};
    const uint16_t wide = cursor.U16();
    if (wide != kWideMarker) return {false, wide};
    uint64_t units = cursor.U8();
    if (units == kLongLength) {
        units = cursor.U16();
        if (units == kWideLongerLength) units = cursor.U32();
    }
    if (units * 2 > cursor.Remaining()) throw TReadFailure();
    return {true, units};
}

}  // namespace

std::string ReadJwwRawString(TByteCursor& cursor)
{
    const TStringLength length = ReadLength(cursor);
    if (!length.wide) return cursor.Bytes(static_cast<size_t>(length.count));
    std::u16string text(static_cast<size_t>(length.count), u'\0');
    for (char16_t& u : text) u = static_cast<char16_t>(cursor.U16());
    return Utf16ToCp932(text);
}

void SkipJwwString(TByteCursor& cursor)
{
    const TStringLength length = ReadLength(cursor);
    cursor.Skip(static_cast<size_t>(length.wide ? 2 * length.count : length.count));
}

std::string ReadJwwString(TByteCursor& cursor) { return StripControls(ReadJwwRawString(cursor)); }
