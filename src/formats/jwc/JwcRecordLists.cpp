#include "formats/jwc/JwcRecordLists.h"

#include "formats/jwc/jwcrecords.h"
#include "util/Func_.h"

TJwcDeclaredCounts DeclaredCounts(const std::vector<std::string>& values, const TJwcCountPositions& at)
{
    return {StrToIntDef0(values[at.lines]), StrToIntDef0(values[at.arcs]), StrToIntDef0(values[at.texts]),
            StrToIntDef0(values[at.points])};
}

void TJwcRecordLists::SizeLists(const TJwcDeclaredCounts& declared, size_t fileSize, size_t recordsStart)
{
    const size_t left = fileSize > recordsStart ? fileSize - recordsStart : 0;
    Lines.resize(BoundedCount(declared.LineCount, left, kLineRecordSize));
    Arcs.resize(BoundedCount(declared.ArcCount, left, kArcRecordSize));
    Texts.resize(BoundedCount(declared.TextCount, left, kTextRecordSize));
    Points.resize(BoundedCount(declared.PointCount, left, kPointRecordSize));
}

void TJwcRecordLists::ReadLines(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor)
{
    ReadRecordList(Lines, declared.LineCount, [&] { return ReadLineRecord(cursor, factor); });
}

void TJwcRecordLists::ReadArcs(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor)
{
    ReadRecordList(Arcs, declared.ArcCount, [&] { return ReadArcRecord(cursor, factor); });
}

void TJwcRecordLists::ReadPoints(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor)
{
    ReadRecordList(Points, declared.PointCount, [&] { return ReadPointRecord(cursor, factor); });
}

void TJwcRecordLists::ReadTextRecords(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor,
                                      bool segmented)
{
    ReadRecordList(Texts, declared.TextCount, [&] {
        const TEntJwcMoji2 moji = ReadMojiRecord(cursor);
        const uint32_t segment = segmented ? moji.Segment : 0;
        return TextOf(moji, factor, segment * 16 + moji.Offset);
    });
}

void TJwcRecordLists::ReadTextBlock(TByteCursor& cursor, size_t length, uint32_t blockAddress)
{
    const std::string block = cursor.Bytes(length);
    for (TextRecord& text : Texts)
        text.Text = TextAt(block, static_cast<int64_t>(text.Address) - static_cast<int64_t>(blockAddress));
}
