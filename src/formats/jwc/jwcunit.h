#pragma once
// Reader of the older drawing format (.JWC): four text header blocks, the fixed tables (layer
// groups and layers), then the lines, arcs, texts, text block and points.
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "attributes/UnitGraAtt.h"
#include "formats/jwc/jwctype.h"

class TByteCursor;

class TJwcData {
public:
    static constexpr std::string_view kSignature = "jw_cad(c)data.......";
    static constexpr int kGroupCount = 16;
    static constexpr int kLayerCount = 256;

    bool CheckSignature(const std::filesystem::path& path);
    // Reads the whole file; false when it could not be read to its end (what was read stays).
    bool LoadFile(const std::filesystem::path& path);
    // The same on a file already in memory.
    bool LoadBytes(std::span<const uint8_t> bytes);
    void LoadLayers(TgraAttribute& attributes);
    void Clear();

    // Millimetres per stored unit for a paper-size code and a unit count (0 meaning 518).
    static double ComputeUnitFactor(int32_t paperCode, int32_t unitCount);

    // The lists hold what the header declared, bounded by what the file's size could hold;
    // entries that reading did not reach stay zero-filled.
    size_t LineCount() const { return Lines.size(); }
    size_t ArcCount() const { return Arcs.size(); }
    size_t TextCount() const { return Texts.size(); }
    size_t PointCount() const { return Points.size(); }
    // The drawing scale: the scale of layer group 0.
    float DrawingScale() const { return LayerGroups[0].Scale; }

    TEntJwcHeader Header;
    bool FloatScales = false;   // format byte 'f': group scales are float32, else uint16
    double UnitFactor = 1.0;
    std::vector<LineRecord> Lines;
    std::vector<ArcRecord> Arcs;
    std::vector<TextRecord> Texts;
    std::vector<PointRecord> Points;
    std::array<TEntJwcLayerGroup, kGroupCount> LayerGroups{};
    std::array<TEntJwcLayer, kLayerCount> Layers{};

private:
    void ReadHeader(TByteCursor& cursor);
    void SizeLists(size_t fileSize);
    void ReadFixedTables(TByteCursor& cursor);
    void ReadTexts(TByteCursor& cursor);
    void ReadNames(TByteCursor& cursor);
};
