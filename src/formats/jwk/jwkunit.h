#pragma once
// Reader of the symbol format (.JWK): two text header blocks, then the lines, arcs, points,
// texts and text block, in the record layouts of the older drawing format. No unit factor and
// no layer tables. It has the shape every reader has (TDrawingReader), every layer shown;
// LoadBytes answers Damaged when the file ends early, and what was read stays.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/DrawingReader.h"
#include "formats/jwc/jwctype.h"

// What the two 200-byte text blocks at the start of a JWK file say.
struct TEntJwkHeader {
    std::string Block0;                  // signature and the rest, up to the first zero
    std::vector<std::string> Values;     // the nine values of block 1
    int32_t LineCount = 0;               // as declared; the lists may be shorter (bounded by file size)
    int32_t ArcCount = 0;
    int32_t PointCount = 0;
    int32_t TextCount = 0;
    float Value4 = 0, Value5 = 0, Value6 = 0;  // not used by conversion
    int32_t TextBlockLength = 0;
    float Scale = 0;                     // not used by conversion: symbols are drawn at scale 1
};

class TJwkData : public TDrawingReader<TJwkData> {
public:
    static constexpr std::string_view kSignature = "jw_cad(c)sym........";

    TReadResult LoadBytes(std::span<const std::byte> bytes);
    void Clear();

    // The lists hold what the header declared, bounded by what the file's size could hold;
    // entries that reading did not reach stay zero-filled.
    size_t LineCount() const { return Lines.size(); }
    size_t ArcCount() const { return Arcs.size(); }
    size_t PointCount() const { return Points.size(); }
    size_t TextCount() const { return Texts.size(); }

    TEntJwkHeader Header;
    std::vector<LineRecord> Lines;
    std::vector<ArcRecord> Arcs;
    std::vector<PointRecord> Points;
    std::vector<TextRecord> Texts;

private:
    void ReadHeader(TByteCursor& cursor);
    void SizeLists(size_t fileSize);
    void ReadTexts(TByteCursor& cursor);
};
