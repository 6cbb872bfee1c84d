#include "output/DxfWriter.h"

#include <cmath>

#include "output/DxfDocument.h"
#include "output/DxfNames.h"
#include "util/BufferedOutput.h"

using namespace drawing;

namespace {

// The header's view: the drawing's box, or a sheet's size when it is empty.
struct TView {
    double cx, cy, height, width;
};
TView ViewOf(const TBox& box)
{
    if (box.Empty()) return {210, 148.5, 297, 420};
    const double w = std::max(box.maxX - box.minX, 1e-6), h = std::max(box.maxY - box.minY, 1e-6);
    return {(box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2, h * 1.1, w * 1.1};
}

}  // namespace

TDxfDocument::TDxfDocument(const TDrawing& d, TBufferedOutput& out) : d_(d), o_(out)
{
    Name();
    Allocate();
    const std::vector<TBox> boxes = BlockBoxes();  // every block's, before the drawing's
    extents_ = Extents(d_.model, boxes);
}

void TDxfDocument::Name()
{
    for (int i = 0; i < jw::kLayerCount; ++i) {
        const TLayer& l = d_.layers[static_cast<size_t>(i)];
        if (!l.used) continue;
        usedLayers_.push_back(i);
        layerNames_[static_cast<size_t>(i)] = DxfLayerName(i, l.groupName, l.name);
    }
    TUniqueNames styles;
    styleNames_.push_back(styles.Take("Standard"));
    styleFiles_.push_back("msgothic.ttc");
    for (const drawing::TFont& font : d_.fonts) {
        const std::string safe = SafeTableName(font.name);
        styleNames_.push_back(styles.Take(safe.empty() ? "Font" : safe));
        styleFiles_.push_back(font.file);
    }
    TUniqueNames blocks;
    int dimensions = 0;
    for (const TBlock& b : d_.blocks) {
        // A dimension's drawing is an anonymous block, "*D" and its number.
        if (b.dimension) {
            blockNames_.push_back("*D" + std::to_string(++dimensions));
            continue;
        }
        const std::string safe = SafeTableName(b.name);
        blockNames_.push_back(blocks.Take(safe.empty() ? "Block" : safe));
    }
}

void TDxfDocument::Allocate()
{
    uint64_t n = 1;
    auto take = [&n] { return n++; };
    auto takeMany = [&n](std::vector<uint64_t>& into, size_t count) {
        for (size_t i = 0; i < count; ++i) into.push_back(n++);
    };
    for (uint64_t* h : {&h_.vportTable, &h_.ltypeTable, &h_.layerTable, &h_.styleTable, &h_.viewTable, &h_.ucsTable,
                        &h_.appidTable, &h_.dimstyleTable, &h_.blockRecordTable, &h_.vport, &h_.byBlock, &h_.byLayer,
                        &h_.layer0, &h_.appid, &h_.dimstyle, &h_.modelRecord, &h_.modelBegin, &h_.modelEnd,
                        &h_.paperRecord, &h_.paperBegin, &h_.paperEnd, &h_.root, &h_.groups, &h_.layouts,
                        &h_.plotStyles, &h_.placeholder, &h_.modelLayout, &h_.paperLayout})
        *h = take();
    takeMany(ltypeH_, d_.lineTypes.size());
    layerH_.assign(jw::kLayerCount, 0);
    for (int layer : usedLayers_) layerH_[static_cast<size_t>(layer)] = take();
    takeMany(styleH_, styleNames_.size());
    takeMany(blockRecordH_, d_.blocks.size());
    takeMany(blockBeginH_, d_.blocks.size());
    takeMany(blockEndH_, d_.blocks.size());
    next_ = n;
    size_t entities = d_.model.Count();
    for (const TBlock& b : d_.blocks) entities += b.entities.Count();
    seed_ = n + entities;
}

std::vector<TBox> TDxfDocument::BlockBoxes() const
{
    // Each block's box after the boxes of the blocks it places: depth first, without recursion.
    const size_t n = d_.blocks.size();
    std::vector<TBox> boxes(n);
    std::vector<uint8_t> state(n, 0);
    std::vector<size_t> stack;
    for (size_t root = 0; root < n; ++root) {
        if (state[root] != 0) continue;
        stack.push_back(root);
        while (!stack.empty()) {
            const size_t b = stack.back();
            if (state[b] == 0) {
                state[b] = 1;
                for (const TInsert& i : d_.blocks[b].entities.inserts)
                    if (state[static_cast<size_t>(i.block)] == 0) stack.push_back(static_cast<size_t>(i.block));
                for (const TDimension& dim : d_.blocks[b].entities.dimensions)
                    if (state[static_cast<size_t>(dim.block)] == 0) stack.push_back(static_cast<size_t>(dim.block));
                continue;
            }
            stack.pop_back();
            if (state[b] == 2) continue;
            boxes[b] = Extents(d_.blocks[b].entities, boxes);
            state[b] = 2;
        }
    }
    return boxes;
}

TBox TDxfDocument::Extents(const TEntities& e, const std::vector<TBox>& blockBoxes) const
{
    TBox box;
    for (const TLine& l : e.lines) box.Add(l.x1, l.y1), box.Add(l.x2, l.y2);
    for (const TFace& f : e.faces)
        for (size_t i = 0; i < 9; i += 3) box.Add(f.xyz[i], f.xyz[i + 1]);
    for (const TArc& a : e.arcs) {
        const double r = std::fabs(a.arc.radius) * std::max(1.0, std::fabs(a.arc.flatness));
        box.Add(a.arc.x - r, a.arc.y - r), box.Add(a.arc.x + r, a.arc.y + r);
    }
    for (const TPoint& p : e.points) box.Add(p.x, p.y);
    for (const TText& t : e.texts) {
        box.Add(t.x, t.y);
        if (t.fit) box.Add(t.endX, t.endY);
    }
    for (const TSolid& s : e.solids)
        for (size_t i = 0; i < 8; i += 2) box.Add(s.xy[i], s.xy[i + 1]);
    for (const TRegion& r : e.regions)
        for (const auto& loop : r.loops)
            for (const TRegionEdge& edge : loop) {
                if (!edge.arc) {
                    box.Add(edge.x1, edge.y1), box.Add(edge.x2, edge.y2);
                    continue;
                }
                const double radius = std::fabs(edge.curve.radius) * std::max(1.0, std::fabs(edge.curve.flatness));
                box.Add(edge.curve.x - radius, edge.curve.y - radius), box.Add(edge.curve.x + radius, edge.curve.y + radius);
            }
    for (const TDimension& dim : e.dimensions) box.Add(blockBoxes[static_cast<size_t>(dim.block)]);
    for (const TInsert& i : e.inserts) {
        const TBox& b = blockBoxes[static_cast<size_t>(i.block)];
        if (b.Empty()) continue;
        const double c = std::cos(i.rotation), s = std::sin(i.rotation);
        for (const auto& [x, y] : {std::pair{b.minX, b.minY}, {b.maxX, b.minY}, {b.maxX, b.maxY}, {b.minX, b.maxY}}) {
            const double u = x * i.scaleX, v = y * i.scaleY;
            box.Add(i.x + c * u - s * v, i.y + s * u + c * v);
        }
    }
    return box;
}

void TDxfDocument::Write()
{
    Header();
    Classes();
    Tables();
    Blocks();
    o_.Text(0, "SECTION");
    o_.Text(2, "ENTITIES");
    Entities(d_.model, h_.modelRecord);
    o_.Text(0, "ENDSEC");
    Objects();
    o_.Text(0, "EOF");
}

void TDxfDocument::Header()
{
    o_.Text(0, "SECTION");
    o_.Text(2, "HEADER");
    auto var = [this](std::string_view name) { o_.Text(9, name); };
    var("$ACADVER"), o_.Text(1, "AC1024");
    var("$ACADMAINTVER"), o_.Int(70, 6);
    // Texts are UTF-8 whatever the code page says; AutoCAD 2007 and later read them so.
    var("$DWGCODEPAGE"), o_.Text(3, "ANSI_932");
    var("$INSBASE"), o_.Point(10, 0, 0);
    const TBox e = extents_.Empty() ? TBox{0, 0, 0, 0} : extents_;
    var("$EXTMIN"), o_.Point(10, e.minX, e.minY);
    var("$EXTMAX"), o_.Point(10, e.maxX, e.maxY);
    var("$LIMMIN"), o_.Real(10, 0), o_.Real(20, 0);
    var("$LIMMAX"), o_.Real(10, 420), o_.Real(20, 297);
    // Dash patterns are paper millimetres: the drawing's scale makes them model ones.
    var("$LTSCALE"), o_.Real(40, d_.scale);
    var("$PSLTSCALE"), o_.Int(70, 1);
    var("$PDMODE"), o_.Int(70, d_.pointMode);
    var("$PDSIZE"), o_.Real(40, d_.pointSize);
    var("$CLAYER"), o_.Text(8, "0");
    var("$CELTYPE"), o_.Text(6, "ByLayer");
    var("$TEXTSTYLE"), o_.Text(7, styleNames_[0]);
    var("$DIMSTYLE"), o_.Text(2, "Standard");
    var("$DIMSCALE"), o_.Real(40, d_.scale);
    var("$DIMTXT"), o_.Real(40, d_.dimensionTextHeight);
    var("$INSUNITS"), o_.Int(70, 4);
    var("$MEASUREMENT"), o_.Int(70, 1);
    var("$LUNITS"), o_.Int(70, 2);
    var("$LWDISPLAY"), o_.Int(290, 1);
    var("$HANDSEED"), o_.Handle(5, seed_);
    o_.Text(0, "ENDSEC");
}

void TDxfDocument::Classes()
{
    o_.Text(0, "SECTION");
    o_.Text(2, "CLASSES");
    struct TClass {
        std::string_view name, cpp, app;
    };
    for (const TClass& c : {TClass{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", "ObjectDBX Classes"},
                            TClass{"ACDBPLACEHOLDER", "AcDbPlaceHolder", "ObjectDBX Classes"},
                            TClass{"LAYOUT", "AcDbLayout", "ObjectDBX Classes"}}) {
        o_.Text(0, "CLASS");
        o_.Text(1, c.name);
        o_.Text(2, c.cpp);
        o_.Text(3, c.app);
        o_.Int(90, 0);
        o_.Int(91, 0);
        o_.Int(280, 0);
        o_.Int(281, 0);
    }
    o_.Text(0, "ENDSEC");
}

void TDxfDocument::TableStart(std::string_view name, uint64_t handle, size_t count)
{
    o_.Text(0, "TABLE");
    o_.Text(2, name);
    o_.Handle(5, handle);
    o_.Handle(330, 0);
    o_.Text(100, "AcDbSymbolTable");
    o_.Int(70, static_cast<int64_t>(count));
}

void TDxfDocument::Record(std::string_view type, uint64_t handle, uint64_t table, std::string_view subclass)
{
    o_.Text(0, type);
    o_.Handle(type == "DIMSTYLE" ? 105 : 5, handle);
    o_.Handle(330, table);
    o_.Text(100, "AcDbSymbolTableRecord");
    o_.Text(100, subclass);
}

void TDxfDocument::Tables()
{
    o_.Text(0, "SECTION");
    o_.Text(2, "TABLES");

    TableStart("VPORT", h_.vportTable, 1);
    Record("VPORT", h_.vport, h_.vportTable, "AcDbViewportTableRecord");
    const TView view = ViewOf(extents_);
    o_.Text(2, "*Active");
    o_.Int(70, 0);
    o_.Real(10, 0), o_.Real(20, 0), o_.Real(11, 1), o_.Real(21, 1);
    o_.Real(12, view.cx), o_.Real(22, view.cy);
    o_.Real(13, 0), o_.Real(23, 0), o_.Real(14, 10), o_.Real(24, 10), o_.Real(15, 10), o_.Real(25, 10);
    o_.Real(16, 0), o_.Real(26, 0), o_.Real(36, 1), o_.Real(17, 0), o_.Real(27, 0), o_.Real(37, 0);
    o_.Real(40, view.height), o_.Real(41, view.width / view.height), o_.Real(42, 50);
    o_.Real(43, 0), o_.Real(44, 0), o_.Real(50, 0), o_.Real(51, 0);
    o_.Int(71, 0), o_.Int(72, 100), o_.Int(73, 1), o_.Int(74, 3), o_.Int(75, 0), o_.Int(76, 0), o_.Int(77, 0);
    o_.Int(78, 0), o_.Int(281, 0), o_.Int(65, 1);
    o_.Point(110, 0, 0);
    o_.Real(111, 1), o_.Real(121, 0), o_.Real(131, 0), o_.Real(112, 0), o_.Real(122, 1), o_.Real(132, 0);
    o_.Int(79, 0), o_.Real(146, 0);
    o_.Text(0, "ENDTAB");

    TableStart("LTYPE", h_.ltypeTable, d_.lineTypes.size() + 2);
    auto ltype = [this](uint64_t handle, std::string_view name, std::string_view description,
                        const std::vector<double>& pattern) {
        Record("LTYPE", handle, h_.ltypeTable, "AcDbLinetypeTableRecord");
        o_.Text(2, name);
        o_.Int(70, 0);
        o_.Text(3, description);
        o_.Int(72, 65);
        o_.Int(73, static_cast<int64_t>(pattern.size()));
        double total = 0;
        for (double dash : pattern) total += std::fabs(dash);
        o_.Real(40, total);
        for (double dash : pattern) o_.Real(49, dash), o_.Int(74, 0);
    };
    ltype(h_.byBlock, "ByBlock", "", {});
    ltype(h_.byLayer, "ByLayer", "", {});
    for (size_t i = 0; i < d_.lineTypes.size(); ++i)
        ltype(ltypeH_[i], SafeTableName(d_.lineTypes[i].name), SafeText(d_.lineTypes[i].description),
              d_.lineTypes[i].pattern);
    o_.Text(0, "ENDTAB");

    TableStart("LAYER", h_.layerTable, usedLayers_.size() + 1);
    auto layer = [this](uint64_t handle, std::string_view name, bool off, bool locked) {
        Record("LAYER", handle, h_.layerTable, "AcDbLayerTableRecord");
        o_.Text(2, name);
        o_.Int(70, locked ? 4 : 0);
        o_.Int(62, off ? -7 : 7);
        o_.Text(6, "Continuous");
        o_.Int(370, -3);
        o_.Handle(390, h_.placeholder);
    };
    layer(h_.layer0, "0", false, false);
    for (int l : usedLayers_) {
        const TLayer& drawn = d_.layers[static_cast<size_t>(l)];
        layer(layerH_[static_cast<size_t>(l)], layerNames_[static_cast<size_t>(l)], drawn.hidden, drawn.locked);
    }
    o_.Text(0, "ENDTAB");

    TableStart("STYLE", h_.styleTable, styleNames_.size());
    for (size_t i = 0; i < styleNames_.size(); ++i) {
        Record("STYLE", styleH_[i], h_.styleTable, "AcDbTextStyleTableRecord");
        o_.Text(2, styleNames_[i]);
        o_.Int(70, 0);
        o_.Real(40, 0), o_.Real(41, 1), o_.Real(50, 0);
        o_.Int(71, 0);
        o_.Real(42, 2.5);
        o_.Text(3, styleFiles_[i]);
        o_.Text(4, "");
    }
    o_.Text(0, "ENDTAB");

    TableStart("VIEW", h_.viewTable, 0);
    o_.Text(0, "ENDTAB");
    TableStart("UCS", h_.ucsTable, 0);
    o_.Text(0, "ENDTAB");

    TableStart("APPID", h_.appidTable, 1);
    Record("APPID", h_.appid, h_.appidTable, "AcDbRegAppTableRecord");
    o_.Text(2, "ACAD");
    o_.Int(70, 0);
    o_.Text(0, "ENDTAB");

    TableStart("DIMSTYLE", h_.dimstyleTable, 1);
    o_.Text(100, "AcDbDimStyleTable");
    o_.Int(71, 0);
    Record("DIMSTYLE", h_.dimstyle, h_.dimstyleTable, "AcDbDimStyleTableRecord");
    o_.Text(2, "Standard");
    o_.Int(70, 0);
    // Sizes on paper, times the drawing's scale, as the dimensions' own blocks have them.
    o_.Real(40, d_.scale);
    o_.Real(140, d_.dimensionTextHeight);
    o_.Handle(340, styleH_[0]);
    o_.Text(0, "ENDTAB");

    TableStart("BLOCK_RECORD", h_.blockRecordTable, d_.blocks.size() + 2);
    auto record = [this](uint64_t handle, std::string_view name, uint64_t layout) {
        Record("BLOCK_RECORD", handle, h_.blockRecordTable, "AcDbBlockTableRecord");
        o_.Text(2, name);
        o_.Handle(340, layout);
        o_.Int(70, 0);
        o_.Int(280, 1);
        o_.Int(281, 0);
    };
    record(h_.modelRecord, "*Model_Space", h_.modelLayout);
    record(h_.paperRecord, "*Paper_Space", h_.paperLayout);
    for (size_t i = 0; i < d_.blocks.size(); ++i) record(blockRecordH_[i], blockNames_[i], 0);
    o_.Text(0, "ENDTAB");

    o_.Text(0, "ENDSEC");
}

void TDxfDocument::Blocks()
{
    o_.Text(0, "SECTION");
    o_.Text(2, "BLOCKS");
    auto block = [this](uint64_t begin, uint64_t end, uint64_t record, std::string_view name, bool paper,
                        const TEntities* entities) {
        o_.Text(0, "BLOCK");
        o_.Handle(5, begin);
        o_.Handle(330, record);
        o_.Text(100, "AcDbEntity");
        if (paper) o_.Int(67, 1);
        o_.Text(8, "0");
        o_.Text(100, "AcDbBlockBegin");
        o_.Text(2, name);
        o_.Int(70, name.starts_with("*D") ? 1 : 0);  // a dimension's block is anonymous
        o_.Point(10, 0, 0);
        o_.Text(3, name);
        o_.Text(1, "");
        if (entities) Entities(*entities, record);
        o_.Text(0, "ENDBLK");
        o_.Handle(5, end);
        o_.Handle(330, record);
        o_.Text(100, "AcDbEntity");
        if (paper) o_.Int(67, 1);
        o_.Text(8, "0");
        o_.Text(100, "AcDbBlockEnd");
    };
    block(h_.modelBegin, h_.modelEnd, h_.modelRecord, "*Model_Space", false, nullptr);
    block(h_.paperBegin, h_.paperEnd, h_.paperRecord, "*Paper_Space", true, nullptr);
    for (size_t i = 0; i < d_.blocks.size(); ++i)
        block(blockBeginH_[i], blockEndH_[i], blockRecordH_[i], blockNames_[i], false, &d_.blocks[i].entities);
    o_.Text(0, "ENDSEC");
}

void TDxfDocument::Layout(uint64_t handle, std::string_view name, int tabOrder, uint64_t blockRecord, bool model)
{
    o_.Text(0, "LAYOUT");
    o_.Handle(5, handle);
    o_.Text(102, "{ACAD_REACTORS");
    o_.Handle(330, h_.layouts);
    o_.Text(102, "}");
    o_.Handle(330, h_.layouts);
    o_.Text(100, "AcDbPlotSettings");
    o_.Text(1, "");
    o_.Text(4, "ISO_A3_(420.00_x_297.00_MM)");
    o_.Text(6, "");
    o_.Real(40, 7.5), o_.Real(41, 20), o_.Real(42, 7.5), o_.Real(43, 20);
    o_.Real(44, 420), o_.Real(45, 297);
    o_.Real(46, 0), o_.Real(47, 0), o_.Real(48, 0), o_.Real(49, 0);
    o_.Real(140, 0), o_.Real(141, 0), o_.Real(142, 1), o_.Real(143, 1);
    o_.Int(70, model ? 1712 : 688);
    o_.Int(72, 1), o_.Int(73, 0), o_.Int(74, 5);
    o_.Text(7, "");
    o_.Int(75, 16), o_.Int(76, 0), o_.Int(77, 2), o_.Int(78, 300);
    o_.Real(147, 1), o_.Real(148, 0), o_.Real(149, 0);
    o_.Text(100, "AcDbLayout");
    o_.Text(1, name);
    o_.Int(70, 1);
    o_.Int(71, tabOrder);
    o_.Real(10, 0), o_.Real(20, 0), o_.Real(11, 420), o_.Real(21, 297);
    o_.Point(12, 0, 0);
    o_.Point(14, 1e20, 1e20);
    o_.Point(15, -1e20, -1e20);
    o_.Real(146, 0);
    o_.Point(13, 0, 0);
    o_.Real(16, 1), o_.Real(26, 0), o_.Real(36, 0), o_.Real(17, 0), o_.Real(27, 1), o_.Real(37, 0);
    o_.Int(76, 0);
    o_.Handle(330, blockRecord);
}

void TDxfDocument::Objects()
{
    o_.Text(0, "SECTION");
    o_.Text(2, "OBJECTS");
    auto dictionary = [this](std::string_view type, uint64_t handle, uint64_t owner) {
        o_.Text(0, type);
        o_.Handle(5, handle);
        if (owner != 0) {
            o_.Text(102, "{ACAD_REACTORS");
            o_.Handle(330, owner);
            o_.Text(102, "}");
        }
        o_.Handle(330, owner);
        o_.Text(100, "AcDbDictionary");
        o_.Int(281, 1);
    };
    auto entry = [this](std::string_view name, uint64_t handle) {
        o_.Text(3, name);
        o_.Handle(350, handle);
    };
    dictionary("DICTIONARY", h_.root, 0);
    entry("ACAD_GROUP", h_.groups);
    entry("ACAD_LAYOUT", h_.layouts);
    entry("ACAD_PLOTSTYLENAME", h_.plotStyles);
    dictionary("DICTIONARY", h_.groups, h_.root);
    dictionary("DICTIONARY", h_.layouts, h_.root);
    entry("Layout1", h_.paperLayout);
    entry("Model", h_.modelLayout);
    dictionary("ACDBDICTIONARYWDFLT", h_.plotStyles, h_.root);
    entry("Normal", h_.placeholder);
    o_.Text(100, "AcDbDictionaryWithDefault");
    o_.Handle(340, h_.placeholder);
    o_.Text(0, "ACDBPLACEHOLDER");
    o_.Handle(5, h_.placeholder);
    o_.Text(102, "{ACAD_REACTORS");
    o_.Handle(330, h_.plotStyles);
    o_.Text(102, "}");
    o_.Handle(330, h_.plotStyles);
    Layout(h_.modelLayout, "Model", 0, h_.modelRecord, true);
    Layout(h_.paperLayout, "Layout1", 1, h_.paperRecord, false);
    o_.Text(0, "ENDSEC");
}

bool WriteDxf(const TConversionContext& context, TByteSink& document)
{
    TBufferedOutput out(document);
    TDxfDocument(context.Drawing, out).Write();
    return out.Finish();
}
