#include "formats/jwk/jwkunit.h"

#include <vector>

#include "formats/jwc/jwcrecords.h"
#include "util/ByteCursor.h"
#include "util/Func_.h"

namespace {

constexpr size_t kHeaderSize = 2 * kHeaderBlockSize;
constexpr size_t kValueCount = 9;
// Points come before texts in this header.
constexpr size_t kLineCountValue = 0;
constexpr size_t kArcCountValue = 1;
constexpr size_t kPointCountValue = 2;
constexpr size_t kTextCountValue = 3;
constexpr size_t kTextBlockLengthValue = 7;
constexpr size_t kScaleValue = 8;
constexpr double kNoUnitFactor = 1.0;

}  // namespace

TReadResult TJwkData::LoadBytes(std::span<const std::byte> bytes)
{
    Clear();
    return ReadGuarded(bytes, kSignature, [&](TByteCursor& cursor) {
        ReadHeader(cursor);
        SizeLists(bytes.size());
        ReadRecordList(Lines, Header.LineCount, [&] { return ReadLineRecord(cursor, kNoUnitFactor); });
        ReadRecordList(Arcs, Header.ArcCount, [&] { return ReadArcRecord(cursor, kNoUnitFactor); });
        ReadRecordList(Points, Header.PointCount, [&] { return ReadPointRecord(cursor, kNoUnitFactor); });
        ReadTexts(cursor);
        return TReadStatus::Complete;
    });
}

void TJwkData::ReadHeader(TByteCursor& cursor)
{
    std::string block0 = ReadHeaderBlock(cursor);
    std::string block1 = ReadHeaderBlock(cursor);

    Header.Block0 = std::string(HeaderBlockText(block0));
    Header.Values = SplitHeaderValues(HeaderBlockText(block1), kValueCount);
    const auto& v = Header.Values;
    Header.LineCount = StrToIntDef0(v[kLineCountValue]);
    Header.ArcCount = StrToIntDef0(v[kArcCountValue]);
    Header.PointCount = StrToIntDef0(v[kPointCountValue]);
    Header.TextCount = StrToIntDef0(v[kTextCountValue]);
    Header.Value4 = StrToSingleDef0(v[4]);
    Header.Value5 = StrToSingleDef0(v[5]);
    Header.Value6 = StrToSingleDef0(v[6]);
    Header.TextBlockLength = StrToIntDef0(v[kTextBlockLengthValue]);
    Header.Scale = StrToSingleDef0(v[kScaleValue]);
}

void TJwkData::SizeLists(size_t fileSize)
{
    // Every record lies after the header, so the rest of the file bounds each list; a cut file
    // keeps zero-filled entries up to that bound.
    size_t left = fileSize > kHeaderSize ? fileSize - kHeaderSize : 0;
    Lines.resize(BoundedCount(Header.LineCount, left, kLineRecordSize));
    Arcs.resize(BoundedCount(Header.ArcCount, left, kArcRecordSize));
    Points.resize(BoundedCount(Header.PointCount, left, kPointRecordSize));
    Texts.resize(BoundedCount(Header.TextCount, left, kTextRecordSize));
}

void TJwkData::ReadTexts(TByteCursor& cursor)
{
    ReadRecordList(Texts, Header.TextCount, [&] {
        const TEntJwcMoji2 moji = ReadMojiRecord(cursor);
        return TextOf(moji, kNoUnitFactor, moji.Offset);  // the second 16-bit field is ignored here
    });
    if (Header.TextBlockLength <= 0) return;
    std::string block = cursor.Bytes(static_cast<size_t>(Header.TextBlockLength));
    for (TextRecord& text : Texts) text.Text = TextAt(block, text.Address);
}

void TJwkData::Clear()
{
    Header = TEntJwkHeader{};
    Lines = {};
    Arcs = {};
    Points = {};
    Texts = {};
}
