#pragma once
// The JWW drawing reader, in the shape every reader has (TDrawingReader). Its signature is
// "JwwData."; LoadFrom reads the header and its tables, then (TJwwEntityModel) the entity
// stream, the block definitions and the block trees. Below version 220 it reads no further
// (Unsupported). The drawing's own pens and layer states are handed on by ImportPens and
// LoadLayers; ExpandBlocks (TJwwEntityModel) flattens every placement into plain entities.
//
// What a walker reads after ExpandBlocks:
//   lines, arcs, points, texts, dimensions, solids  (TJwwEntityModel, records of jwwtype.h;
//       a dimension's sxfMode tells whether its auxiliary lines and points carry geometry)
//   DrawingScale()  the scale of layer group 0, by which every coordinate is multiplied
//   layerGroups, layers, header.version
// An entity's layer number is common.layerGroup * 16 + common.layer, as read (not checked).
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "attributes/UnitGraAtt.h"
#include "formats/DrawingReader.h"
#include "formats/jww/JwwEntityModel.h"
#include "formats/jww/jwwtype.h"
#include "util/ByteCursor.h"

class TJwwData : public TJwwEntityModel, public TDrawingReader<TJwwData> {
public:
    static constexpr std::string_view kSignature = "JwwData.";
    static constexpr int32_t kLowestVersion = 220;
    static constexpr int kPenCount = 10;
    static constexpr int kColorExCount = 257;
    static constexpr int kLineTypeExCount = 33;

    TReadResult LoadFrom(TByteCursor& cursor);
    // The header as far as the screen pens (what the light or dark background needs), its
    // strings passed over: Complete when that part was read whole, Unsupported below
    // kLowestVersion. The names stay empty, the tables after the screen pens unread.
    TReadResult LoadScreenPensFrom(TByteCursor& cursor);
    // The layer states by group and layer; every layer shown when the tables were not reached.
    void LoadLayers(TgraAttribute& attributes) const;
    // Pens 1..9 from the screen pens when they were read (pen 0, the background, decides
    // the light or dark mode), pens 101..356 from the extended colours when they were read.
    void ImportPens(TgraAttribute& attributes) const;

    // The scale of layer group 0; 1 when the layer groups were never reached.
    double DrawingScale() const { return layerGroups.empty() ? 1.0 : layerGroups[0].scale; }

    TEntJwwHeader header;
    // The tables exist, with their fixed sizes, once a supported version has been read.
    std::vector<TEntJwwLayerGroup> layerGroups;     // 16
    std::vector<TEntJwwLayer> layers;               // 256: group g, layer n at g * 16 + n
    std::vector<TEntJwwPen> pens;                   // 10: colour numbers 0..9
    std::vector<TEntJwwLineType> lineTypes;         // 8: line types 2..9
    std::vector<TEntJwwRandomLine> randomLines;     // 5: random lines 1..5
    std::vector<TEntJwwLineType> doubleLineTypes;   // 4: double-length types 6..9
    std::vector<TEntJwwColorExNo> colorsEx;         // 257, from version 420
    std::vector<TEntJwwLineTypeExNo> lineTypesEx;   // 33, from version 420
    std::vector<TEntJwwTextStyle> textStyles;       // 10: text kinds 1..10

    // Which colour tables were read completely.
    bool pensRead = false;      // the screen pens (end of the settings block)
    bool colorsExRead = false;  // the screen colours of the extended colours

private:
    // The whole header, or only as far as the screen pens with its strings passed over.
    enum class THeaderPart { Whole, ScreenPens };
    void ReadHeader(TByteCursor& c, THeaderPart part = THeaderPart::Whole);
    // ReadHeader, then the stream's version; nothing below kLowestVersion (no stream is read).
    std::optional<int32_t> ReadSupportedHeader(TByteCursor& c, THeaderPart part = THeaderPart::Whole);
    void ReadSheet(TByteCursor& c);
    void ReadLayerGroups(TByteCursor& c);
    void ReadDimensionSettings(TByteCursor& c);
    void ReadPrintAndMarks(TByteCursor& c);
    void ReadNames(TByteCursor& c);
    void ReadShadowSettings(TByteCursor& c);
    void ReadViewSettings(TByteCursor& c);
    void ReadZoomMarks(TByteCursor& c);
    void ReadScreenPens(TByteCursor& c);
    void ReadPrinterPens(TByteCursor& c);
    void ReadLineTypes(TByteCursor& c);
    void ReadRandomAndDoubleLines(TByteCursor& c);
    void ReadDisplayFlags(TByteCursor& c);
    void ReadExtendedColors(TByteCursor& c);
    void ReadExtendedLineTypes(TByteCursor& c);
    void ReadTextStyles(TByteCursor& c);
    void ReadCurrentTextSettings(TByteCursor& c);
};
