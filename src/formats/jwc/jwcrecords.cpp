#include "formats/jwc/jwcrecords.h"

#include <algorithm>

#include "util/Func_.h"

namespace {

float Scaled(float value, double factor) { return static_cast<float>(value * factor); }

// Fixed-point angles are stored times 65536.
float AngleDegrees(int32_t stored) { return static_cast<float>(stored / 65536.0); }

}  // namespace

std::string ReadHeaderBlock(TByteCursor& cursor) { return cursor.Bytes(kHeaderBlockSize); }

std::string_view HeaderBlockText(std::string_view block)
{
    return block.substr(0, std::min(block.find('\0'), block.size()));
}

std::vector<std::string> SplitHeaderValues(std::string_view text, size_t count)
{
    std::vector<std::string> values(count, "0");
    size_t taken = 0;
    while (taken < count && !text.empty()) {
        size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            values[taken++] = std::string(text);
            break;
        }
        values[taken++] = std::string(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
    return values;
}

size_t BoundedCount(int32_t declared, size_t bytesLeft, size_t recordSize)
{
    if (declared <= 0) return 0;
    return std::min(static_cast<size_t>(declared), bytesLeft / recordSize);
}

void EndIfListWasCut(int32_t declared, size_t listSize)
{
    if (declared > 0 && static_cast<size_t>(declared) > listSize) throw TReadFailure();
}

LineRecord ReadLineRecord(TByteCursor& cursor, double factor)
{
    LineRecord r;
    r.X1 = Scaled(cursor.F32(), factor);
    r.Y1 = Scaled(cursor.F32(), factor);
    r.X2 = Scaled(cursor.F32(), factor);
    r.Y2 = Scaled(cursor.F32(), factor);
    ReadFields(cursor, r.LineType, r.PenColor, r.Layer, r.Unused, r.Flags1, r.Flags2);
    return r;
}

ArcRecord ReadArcRecord(TByteCursor& cursor, double factor)
{
    ArcRecord r;
    r.CenterX = Scaled(cursor.F32(), factor);
    r.CenterY = Scaled(cursor.F32(), factor);
    r.Radius = Scaled(cursor.F32(), factor);
    r.Flattening = static_cast<float>(cursor.U16() / 10000.0);
    r.StartAngle = AngleDegrees(cursor.I32());
    r.EndAngle = AngleDegrees(cursor.I32());
    r.Tilt = AngleDegrees(cursor.I32());
    ReadFields(cursor, r.LineType, r.PenColor, r.Layer, r.Unused1, r.Flags, r.Unused2);
    return r;
}

PointRecord ReadPointRecord(TByteCursor& cursor, double factor)
{
    PointRecord r;
    r.X = Scaled(cursor.F32(), factor);
    r.Y = Scaled(cursor.F32(), factor);
    ReadFields(cursor, r.Layer, r.PenColor, r.Flags, r.Unused);
    return r;
}

TEntJwcMoji2 ReadMojiRecord(TByteCursor& cursor)
{
    TEntJwcMoji2 r;
    ReadFields(cursor, r.X1, r.Y1, r.X2, r.Y2, r.Offset, r.Segment);
    for (uint8_t& b : r.Attributes) b = cursor.U8();
    return r;
}

TextRecord TextOf(const TEntJwcMoji2& moji, double factor, uint32_t address)
{
    TextRecord text;
    text.X1 = Scaled(moji.X1, factor);
    text.Y1 = Scaled(moji.Y1, factor);
    text.X2 = Scaled(moji.X2, factor);
    text.Y2 = Scaled(moji.Y2, factor);
    text.Address = address;
    text.Attributes = moji.Attributes;
    return text;
}

std::string TextAt(std::string_view block, int64_t position)
{
    if (position < 0 || position >= static_cast<int64_t>(block.size())) return {};
    std::string_view rest = block.substr(static_cast<size_t>(position));
    return StripControls(rest.substr(0, std::min(rest.find('\0'), rest.size())));
}
