#pragma once
// Reader of the symbol format (.JWK): two text header blocks, then the lines, arcs, points,
// texts and text block, in the record layouts of the older drawing format. No unit factor and
// no layer tables. It has the shape every reader has (TDrawingReader), every layer shown;
// LoadFrom answers Damaged when the file ends early, and what was read stays.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/DrawingReader.h"
#include "formats/jwc/JwcRecordLists.h"
#include "formats/jwc/jwctype.h"

// What the two 200-byte text blocks at the start of a JWK file say.
struct TEntJwkHeader : TJwcDeclaredCounts {
    std::string Block0;                  // signature and the rest, up to the first zero
    std::vector<std::string> Values;     // the nine values of block 1
    float Value4 = 0, Value5 = 0, Value6 = 0;  // not used by conversion
    int32_t TextBlockLength = 0;
    float Scale = 0;                     // not used by conversion: symbols are drawn at scale 1
};

class TJwkData : public TDrawingReader<TJwkData>, public TJwcRecordLists {
public:
    static constexpr std::string_view kSignature = "jw_cad(c)sym........";

    TReadResult LoadFrom(TByteCursor& cursor);
    // Symbols are drawn at scale 1, whatever the header's Scale says.
    double DrawingScale() const { return 1.0; }

    TEntJwkHeader Header;

private:
    void ReadHeader(TByteCursor& cursor);
};
