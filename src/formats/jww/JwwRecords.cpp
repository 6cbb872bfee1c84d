#include "formats/jww/JwwRecords.h"

#include "formats/jww/JwwString.h"

namespace {

// The 35-byte (33 before lineWidth) part of a point, ending after `temporary`.
TEntJwwTen ReadPointFixedPart(TByteCursor& c, int32_t version)
{
    TEntJwwTen p;
    p.common = ReadCommon(c, version);
    ReadFields(c, p.x, p.y);
    p.temporary = c.I32();
    return p;
}

void ReadPointCode(TByteCursor& c, TEntJwwTen& p)
{
    p.code = c.I32();
    ReadFields(c, p.rotation, p.scale);
}

// A dimension's point from version 420: a point without a code gets scale 0, not 1.
TEntJwwTen ReadDimensionPoint(TByteCursor& c, int32_t version)
{
    TEntJwwTen p = ReadPointFixedPart(c, version);
    if (p.common.lineType == kJwwPointWithCode) ReadPointCode(c, p);
    return p;
}

std::string ReadLimitedString(TByteCursor& c)
{
    std::string s = ReadJwwString(c);
    if (s.size() > TEntJwwMoji::kMaxText) s.resize(TEntJwwMoji::kMaxText);
    return s;
}

// The common part's size in the file.
size_t CommonBytes(int32_t version) { return version >= kJwwVersionLineWidth ? 15 : 13; }

template <class Source> TEntJwwCommon CommonFrom(Source& s, int32_t version)
{
    TEntJwwCommon common;
    ReadFields(s, common.group, common.lineType, common.color);
    if (version >= kJwwVersionLineWidth) ReadFields(s, common.lineWidth);
    ReadFields(s, common.layer, common.layerGroup, common.flags);
    return common;
}

template <class Source> TEntJwwSen LineFrom(Source& s, int32_t version)
{
    TEntJwwSen line;
    line.common = CommonFrom(s, version);
    ReadFields(s, line.startX, line.startY, line.endX, line.endY);
    return line;
}

template <class Source> TEntJwwEnko ArcFrom(Source& s, int32_t version)
{
    TEntJwwEnko arc;
    arc.common = CommonFrom(s, version);
    ReadFields(s, arc.centerX, arc.centerY, arc.radius, arc.startAngle, arc.arcAngle, arc.tiltAngle, arc.flatness);
    arc.fullCircle = s.template Read<int32_t>();
    return arc;
}

// A record of `bytes` bytes read by `from`: from memory in one piece when the bytes are
// there (lines and arcs are most of a drawing), else field by field through the cursor,
// which then stops where the file ends, as always.
template <class Record, class From> Record FixedRecord(TByteCursor& c, size_t bytes, From&& from)
{
    if constexpr (TRawFields::kWork) {
        if (const uint8_t* p = c.Peek(bytes)) {
            TRawFields raw(p);
            const Record record = from(raw);
            c.Skip(bytes);
            return record;
        }
    }
    return from(c);
}

}  // namespace

TEntJwwCommon ReadCommon(TByteCursor& c, int32_t version) { return CommonFrom(c, version); }

TEntJwwSen ReadLineBody(TByteCursor& c, int32_t version)
{
    return FixedRecord<TEntJwwSen>(c, CommonBytes(version) + 4 * 8, [version](auto& s) { return LineFrom(s, version); });
}

TEntJwwEnko ReadArcBody(TByteCursor& c, int32_t version)
{
    return FixedRecord<TEntJwwEnko>(c, CommonBytes(version) + 7 * 8 + 4,
                                    [version](auto& s) { return ArcFrom(s, version); });
}

TEntJwwTen ReadPointBody(TByteCursor& c, int32_t version)
{
    TEntJwwTen p = ReadPointFixedPart(c, version);
    if (p.common.lineType == kJwwPointWithCode) {
        ReadPointCode(c, p);
    } else {
        p.code = 0;
        p.rotation = 0;
        p.scale = 1.0;
    }
    return p;
}

TEntJwwMoji ReadTextBody(TByteCursor& c, int32_t version)
{
    TEntJwwMoji t;
    t.common = ReadCommon(c, version);
    ReadFields(c, t.startX, t.startY, t.endX, t.endY);
    t.textKind = c.U32();
    ReadFields(c, t.sizeX, t.sizeY, t.spacing, t.angle);
    t.fontName = ReadLimitedString(c);
    t.text = ReadLimitedString(c);
    return t;
}

TEntJwwSunpo ReadDimensionBody(TByteCursor& c, int32_t version)
{
    TEntJwwSunpo d;
    d.common = ReadCommon(c, version);
    d.line = ReadLineBody(c, version);
    d.text = ReadTextBody(c, version);
    if (version >= kJwwVersionSxfDimension) {
        d.sxfMode = c.U16();
        d.auxLine1 = ReadLineBody(c, version);
        d.auxLine2 = ReadLineBody(c, version);
        d.point1 = ReadDimensionPoint(c, version);
        d.point2 = ReadDimensionPoint(c, version);
        d.point3 = ReadDimensionPoint(c, version);
        d.point4 = ReadDimensionPoint(c, version);
        return d;
    }
    // Older files have none of these parts: they take the dimension's own common part and
    // zero geometry; the points have no code.
    d.sxfMode = 0;
    for (TEntJwwSen* aux : {&d.auxLine1, &d.auxLine2}) {
        *aux = TEntJwwSen{};
        CopyCommon(d.common, aux->common);
    }
    for (TEntJwwTen* p : {&d.point1, &d.point2, &d.point3, &d.point4}) {
        *p = TEntJwwTen{};
        CopyCommon(d.common, p->common);
        p->common.lineType = 0;
    }
    return d;
}

TEntJwwSolid ReadSolidBody(TByteCursor& c, int32_t version)
{
    TEntJwwSolid s;
    s.common = ReadCommon(c, version);
    ReadFields(c, s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4);
    s.fillColor = s.common.color == kJwwSolidOwnColor ? c.U32() : 0;
    return s;
}

TEntJwwBlock ReadBlockBody(TByteCursor& c, int32_t version)
{
    TEntJwwBlock b;
    b.common = ReadCommon(c, version);
    ReadFields(c, b.x, b.y, b.scaleX, b.scaleY, b.rotation);
    b.blockNumber = c.U32();
    return b;
}
