#include "formats/jwk/jwkunit.h"

#include <vector>

#include "formats/jwc/jwcrecords.h"
#include "util/ByteCursor.h"
#include "util/Func_.h"

namespace {

constexpr size_t kHeaderSize = 2 * kHeaderBlockSize;
constexpr size_t kValueCount = 9;
constexpr TJwcCountPositions kCountValues{.lines = 0, .arcs = 1, .texts = 3, .points = 2};  // points first
constexpr size_t kTextBlockLengthValue = 7;
constexpr size_t kScaleValue = 8;
constexpr double kNoUnitFactor = 1.0;

}  // namespace

TReadResult TJwkData::LoadFrom(TByteCursor& cursor)
{
    Clear();
    return ReadGuarded(cursor, kSignature, [&](TByteCursor& cursor) {
        ReadHeader(cursor);
        SizeLists(Header, cursor.Size(), kHeaderSize);
        ReadLines(cursor, Header, kNoUnitFactor);
        ReadArcs(cursor, Header, kNoUnitFactor);
        ReadPoints(cursor, Header, kNoUnitFactor);
        ReadTextRecords(cursor, Header, kNoUnitFactor, false);  // the segment field is ignored here
        if (Header.TextBlockLength > 0) ReadTextBlock(cursor, static_cast<size_t>(Header.TextBlockLength), 0);
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
    static_cast<TJwcDeclaredCounts&>(Header) = DeclaredCounts(v, kCountValues);
    Header.Value4 = StrToSingleDef0(v[4]);
    Header.Value5 = StrToSingleDef0(v[5]);
    Header.Value6 = StrToSingleDef0(v[6]);
    Header.TextBlockLength = StrToIntDef0(v[kTextBlockLengthValue]);
    Header.Scale = StrToSingleDef0(v[kScaleValue]);
}
