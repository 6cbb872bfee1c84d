#pragma once
// Reader of the older drawing format (.JWC): four text header blocks, the fixed tables (layer
// groups and layers), then the lines, arcs, texts, text block and points. It has the shape
// every reader has (TDrawingReader); LoadFrom answers Damaged when the file ends early, and
// what was read stays.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "attributes/UnitGraAtt.h"
#include "formats/DrawingReader.h"
#include "formats/jwc/JwcRecordLists.h"
#include "formats/jwc/jwctype.h"
#include "util/DrawingFacts.h"

class TJwcData : public TDrawingReader<TJwcData>, public TJwcRecordLists {
public:
    static constexpr std::string_view kSignature = "jw_cad(c)data.......";

    TReadResult LoadFrom(TByteCursor& cursor);
    void LoadLayers(TgraAttribute& attributes) const;

    // Millimetres per stored unit for a paper-size code and a unit count (0 meaning 518).
    static double ComputeUnitFactor(int32_t paperCode, int32_t unitCount);

    // The scale of layer group 0 (stored as a float, so widening it to double is exact).
    double DrawingScale() const { return LayerGroups[0].Scale; }

    TEntJwcHeader Header;
    bool FloatScales = false;   // format byte 'f': group scales are float32, else uint16
    double UnitFactor = 1.0;
    std::array<TEntJwcLayerGroup, jw::kLayerGroupCount> LayerGroups{};
    std::array<TEntJwcLayer, jw::kLayerCount> Layers{};

private:
    void ReadHeader(TByteCursor& cursor);
    void ReadFixedTables(TByteCursor& cursor);
    void ReadTexts(TByteCursor& cursor);
    void ReadNames(TByteCursor& cursor);
};
