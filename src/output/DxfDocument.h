#pragma once
// One DXF document being written: the names every table gives the drawing's layers, line
// types, fonts and blocks, the handles of every record and object, and the sections that use
// them. DxfWriter.cpp writes the header, tables and objects, DxfEntities.cpp the entities.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "output/DxfGeometry.h"
#include "output/DxfOut.h"

class TDxfDocument {
public:
    TDxfDocument(const drawing::TDrawing& d, TBufferedOutput& out);
    void Write();

private:
    void Name();
    void Allocate();
    TBox Extents(const drawing::TEntities& e, const std::vector<TBox>& blockBoxes) const;
    std::vector<TBox> BlockBoxes() const;

    void Header();
    void Classes();
    void Tables();
    void Blocks();
    void Objects();
    void TableStart(std::string_view name, uint64_t handle, size_t count);
    void Record(std::string_view type, uint64_t handle, uint64_t table, std::string_view subclass);
    void Layout(uint64_t handle, std::string_view name, int tabOrder, uint64_t blockRecord, bool model);

    // DxfEntities.cpp
    void Entities(const drawing::TEntities& e, uint64_t owner);
    void Common(std::string_view type, uint64_t owner, const drawing::TAttributes& a);
    void Line(const drawing::TLine& l, uint64_t owner);
    void Face(const drawing::TFace& f, uint64_t owner);
    void Arc(const drawing::TArc& a, uint64_t owner);
    void Point(const drawing::TPoint& p, uint64_t owner);
    void Text(const drawing::TText& t, uint64_t owner);
    void Solid(const drawing::TSolid& s, uint64_t owner);
    void Region(const drawing::TRegion& r, uint64_t owner);
    void Insert(const drawing::TInsert& i, uint64_t owner);
    void Dimension(const drawing::TDimension& d, uint64_t owner);

    const drawing::TDrawing& d_;
    TDxfOut o_;

    std::array<std::string, jw::kLayerCount> layerNames_;
    std::vector<int> usedLayers_;
    std::vector<std::string> styleNames_, styleFiles_;  // [0] is Standard, then the fonts
    std::vector<std::string> blockNames_;

    struct THandles {
        uint64_t vportTable, ltypeTable, layerTable, styleTable, viewTable, ucsTable, appidTable, dimstyleTable,
            blockRecordTable;
        uint64_t vport, byBlock, byLayer, layer0, appid, dimstyle;
        uint64_t modelRecord, modelBegin, modelEnd, paperRecord, paperBegin, paperEnd;
        uint64_t root, groups, layouts, plotStyles, placeholder, modelLayout, paperLayout;
    } h_{};
    std::vector<uint64_t> ltypeH_, layerH_, styleH_;
    std::vector<uint64_t> blockRecordH_, blockBeginH_, blockEndH_;
    uint64_t next_ = 1;  // the next entity's handle
    uint64_t seed_ = 0;  // past every handle
    TBox extents_;
};
