// The DXF document against the readers' records: the entities of every kind that the samples
// hold (counts, texts, positions), and a drawing made to break it (names and texts with
// control bytes, a block that places itself, a cut file, a spent budget).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/OptionRequest.h"
#include "formats/jww/Cp932Decoder.h"
#include "formats/jww/jwwunit.h"
#include "support/Conversion.h"
#include "support/GlbShapes.h"
#include "support/JwcWriter.h"
#include "support/JwwSamples.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"
#include "support/SharedData.h"

namespace {

struct TDxfEntity {
    std::string type;
    std::multimap<int, std::string> groups;
    std::string Value(int code) const
    {
        const auto at = groups.find(code);
        return at == groups.end() ? std::string() : at->second;
    }
    double Number(int code) const { return std::stod(Value(code)); }
};

// The entities of one section, read pair by pair; fails the test on a pair that does not
// parse (a value that broke its line would shift every pair after it).
std::vector<TDxfEntity> SectionEntities(const std::string& document, const std::string& section)
{
    std::vector<TDxfEntity> entities;
    bool inside = false, ended = false;
    std::string last;
    for (size_t at = 0; at < document.size();) {
        const size_t codeEnd = document.find('\n', at), valueEnd = document.find('\n', codeEnd + 1);
        if (codeEnd == std::string::npos || valueEnd == std::string::npos) {
            ADD_FAILURE() << "a pair without its value at byte " << at;
            break;
        }
        const std::string codeText = document.substr(at, codeEnd - at);
        const std::string value = document.substr(codeEnd + 1, valueEnd - codeEnd - 1);
        at = valueEnd + 1;
        size_t used = 0;
        const int code = std::stoi(codeText, &used);
        EXPECT_EQ(codeText.find_first_not_of(' '), codeText.size() - std::to_string(code).size()) << codeText;
        if (code == 0 && value == "EOF") ended = true;
        if (code == 2 && last == "SECTION") inside = value == section;
        if (code == 0) last = value;
        if (!inside) continue;
        if (code == 0 && value == "ENDSEC") inside = false;
        else if (code == 0) entities.push_back({value, {}});
        else if (!entities.empty()) entities.back().groups.emplace(code, value);
    }
    EXPECT_TRUE(ended) << "no EOF";
    return entities;
}

TConversionOptions DxfOptions(const std::string& exclude = "")
{
    TOptionRequest request;
    request.Format = TOutputFormat::Dxf;
    request.Include.Solids = request.Include.Points = true;
    request.TextsExcluded = exclude == "texts";
    return MakeOptions(request);
}

size_t CountType(const std::vector<TDxfEntity>& entities, std::initializer_list<std::string_view> types)
{
    size_t n = 0;
    for (const TDxfEntity& e : entities)
        for (std::string_view t : types) n += e.type == t;
    return n;
}

}  // namespace

// Every kind as the reader has it: one entity per record, texts as written, lines where the
// drawing puts them times its scale.
TEST(DxfWriter, SamplesKeepEveryEntityOfTheReader)
{
    const auto samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings");
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.filename().string());
        TJwwData data;
        ASSERT_TRUE(data.LoadFile(sample));
        const TConverted dxf = ConvertDrawingFile(sample, DxfOptions());
        ASSERT_TRUE(dxf.Result.Clean());
        const std::vector<TDxfEntity> entities = SectionEntities(dxf.Document, "ENTITIES");
        size_t drawnPoints = 0, dimensionParts = 0;
        for (const TEntJwwTen& p : data.points) drawnPoints += p.temporary == 0;
        for (const TEntJwwSunpo& d : data.dimensions) dimensionParts += d.sxfMode != 0 ? 3 : 1;
        const struct {
            std::initializer_list<std::string_view> types;
            size_t expected;
        } kinds[] = {
            {{"LINE"}, data.lines.size() + dimensionParts},
            {{"CIRCLE", "ARC", "ELLIPSE"}, data.arcs.size()},
            {{"POINT"}, drawnPoints},
            {{"TEXT"}, data.texts.size() + data.dimensions.size()},
            {{"SOLID", "HATCH"}, data.solids.size()},
            {{"INSERT"}, data.blockInserts.size()},
        };
        for (const auto& kind : kinds) EXPECT_EQ(CountType(entities, kind.types), kind.expected) << *kind.types.begin();

        const double scale = data.DrawingScale();
        std::vector<const TDxfEntity*> lines, texts;
        for (const TDxfEntity& e : entities) {
            if (e.type == "LINE") lines.push_back(&e);
            if (e.type == "TEXT") texts.push_back(&e);
        }
        for (size_t i = 0; i < data.lines.size() && i < lines.size(); ++i) {
            EXPECT_EQ(lines[i]->Number(10), data.lines[i].startX * scale);
            EXPECT_EQ(lines[i]->Number(21), data.lines[i].endY * scale);
        }
        for (size_t i = 0; i < data.texts.size() && i < texts.size(); ++i) {
            EXPECT_EQ(texts[i]->Value(1), Cp932ToUtf8(data.texts[i].text));
            EXPECT_EQ(texts[i]->Number(40), data.texts[i].sizeY * scale);
        }
        // Each block a BLOCK of its own besides the two spaces.
        EXPECT_GE(CountType(SectionEntities(dxf.Document, "BLOCKS"), {"BLOCK"}), 2 + (data.blockDefs.empty() ? 0u : 1u));
    }
}

// Texts are part of the DXF unless left out by name; hidden layers are off, not lost.
TEST(DxfWriter, TextsByDefaultAndHiddenLayersOff)
{
    using namespace jwwfixture;
    TJwwFileWriter w(600);
    w.header.groupScales[0] = 50;
    w.header.layerStates[1] = 0;  // layer 0-1 hidden
    w.header.layerNames[1] = "\x95\xc7";  // 壁 in Shift_JIS
    TEntJwwMoji text;
    text.common = Common(1);
    text.sizeX = text.sizeY = 5;
    text.endX = 20;
    text.text = "A\nB^C";
    text.fontName = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
    // A black background: pen 1 white is its default pen, pen 2 the drawing's own red.
    w.header.penColors[1] = 0xFFFFFF;
    w.header.penColors[2] = 0x0000FF;
    w.stream.Line(MakeLine(0, 0, 10, 0, Common(1, 0, 1))).Line(MakeLine(0, 0, 0, 10, Common(1, 0, 2))).Text(text);
    const std::vector<uint8_t> bytes = w.Build();

    const TConverted dxf = ConvertDrawing(bytes, TInputFormat::Jww, DxfOptions());
    const auto entities = SectionEntities(dxf.Document, "ENTITIES");
    ASSERT_EQ(entities.size(), 3u);
    EXPECT_EQ(entities[0].Value(62), "7");
    EXPECT_EQ(entities[0].Value(420), "");
    EXPECT_EQ(entities[1].Value(62), "1");
    EXPECT_EQ(entities[1].Value(420), "16711680");
    const TDxfEntity& t = entities[2];
    EXPECT_EQ(t.Value(1), "AB^ C");  // the reader drops control bytes; a caret is escaped
    EXPECT_EQ(t.Number(40), 250);
    EXPECT_EQ(t.Value(72), "5");  // fitted between start and end
    EXPECT_EQ(t.Value(8), "0-1 壁");
    bool off = false, style = false;
    for (const TDxfEntity& table : SectionEntities(dxf.Document, "TABLES")) {
        off = off || (table.type == "LAYER" && table.Value(2) == "0-1 壁" && table.Value(62) == "-7");
        style = style || (table.type == "STYLE" && table.Value(3) == "msgothic.ttc" && table.Value(2) == "ＭＳ ゴシック");
    }
    EXPECT_TRUE(off);
    EXPECT_TRUE(style);
    EXPECT_EQ(CountType(SectionEntities(ConvertDrawing(bytes, TInputFormat::Jww, DxfOptions("texts")).Document,
                                        "ENTITIES"),
                        {"TEXT"}),
              0u);
}

// A block that places itself cannot be a BLOCK: it is drawn exploded, as the glb draws it;
// a block placed normally stays a BLOCK with an INSERT, its name made safe.
TEST(DxfWriter, SelfPlacingBlocksAreExplodedOthersKept)
{
    using namespace jwwfixture;
    TJwwFileWriter w(600);
    w.stream.BeginBlockDef(MakeBlockDef(1, "loop")).Line(MakeLine(0, 0, 1, 0)).Block(MakeInsert(1, 5, 0)).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(2, "a/b\r*c")).Line(MakeLine(0, 0, 0, 1)).EndBlockDef();
    w.stream.Block(MakeInsert(1, 0, 0)).Block(MakeInsert(2, 3, 4, 2, 2, 0.5));
    const TConverted dxf = ConvertDrawing(w.Build(), TInputFormat::Jww, DxfOptions());
    const auto entities = SectionEntities(dxf.Document, "ENTITIES");
    ASSERT_EQ(CountType(entities, {"INSERT"}), 1u);
    EXPECT_EQ(CountType(entities, {"LINE"}), 1u);  // the loop's line, once: the self-placement is skipped
    for (const TDxfEntity& e : entities) {
        if (e.type != "INSERT") continue;
        EXPECT_EQ(e.Value(2), "a_b_c");
        EXPECT_EQ(e.Number(41), 2);
        EXPECT_NEAR(e.Number(50), 0.5 * 180 / 3.141592653589793, 1e-12);
    }
}

// A cut file gives the DXF of what was read; a spent budget stops with the entities it had.
TEST(DxfWriter, DamageAndBudgetKeepWhatWasMade)
{
    using namespace jwwfixture;
    TJwwFileWriter w(600);
    for (int i = 0; i < 50; ++i) w.stream.Line(MakeLine(i, 0, i, 1));
    std::vector<uint8_t> bytes = w.Build();
    bytes.resize(bytes.size() - 200);
    const TConverted cut = ConvertDrawing(bytes, TInputFormat::Jww, DxfOptions());
    EXPECT_EQ(cut.Result.Read.status, TReadStatus::Damaged);
    EXPECT_TRUE(cut.Result.Written);
    const size_t kept = CountType(SectionEntities(cut.Document, "ENTITIES"), {"LINE"});
    EXPECT_GT(kept, 30u);
    EXPECT_LT(kept, 50u);

    TConversionOptions small = DxfOptions();
    small.FigureBudget = 10;
    const TConverted spent = ConvertDrawing(w.Build(), TInputFormat::Jww, small);
    EXPECT_TRUE(spent.Result.BudgetReached);
    EXPECT_EQ(CountType(SectionEntities(spent.Document, "ENTITIES"), {"LINE"}), 10u);
}

// An older drawing's records: lines, arcs by their degrees, texts fitted between their start
// and end with a height from their length, all times the drawing's scale.
TEST(DxfWriter, OlderDrawingsKeepTheirRecords)
{
    JwcWriter w;
    w.GroupScales[0] = 20;
    w.Lines.push_back({0, 0, 10, 5, 1, 2, 17});
    ArcRecord arc;
    arc.Radius = 2, arc.Flattening = 1, arc.StartAngle = 90, arc.EndAngle = 180, arc.LineType = 1, arc.PenColor = 1;
    w.Arcs.push_back(arc);
    w.Texts.push_back({1, 1, 9, 1, {1, 3, 17, 0}, "AB", std::nullopt});
    const TConverted dxf = ConvertDrawing(w.Build(), TInputFormat::Jwc, DxfOptions());
    ASSERT_TRUE(dxf.Result.Clean());
    const auto entities = SectionEntities(dxf.Document, "ENTITIES");
    ASSERT_EQ(entities.size(), 3u);
    EXPECT_EQ(entities[0].type, "LINE");
    EXPECT_EQ(entities[0].Number(11), 200);
    EXPECT_EQ(entities[0].Value(8), "1-1");
    EXPECT_EQ(entities[1].type, "ARC");
    EXPECT_EQ(entities[1].Number(40), 40);
    EXPECT_NEAR(entities[1].Number(50), 90, 1e-9);
    EXPECT_NEAR(entities[1].Number(51), 180, 1e-9);
    EXPECT_EQ(entities[2].type, "TEXT");
    EXPECT_EQ(entities[2].Value(1), "AB");
    EXPECT_EQ(entities[2].Value(72), "5");
    EXPECT_EQ(entities[2].Number(11), 180);
}

// Heights make the DXF as 3D as the glb: each lifted edge off the ground a LINE with its z in
// millimetres, each wall and roof triangle a 3DFACE; the flat lines stay as they were.
TEST(DxfWriter, HeightsLiftLinesAsTheGlbDoes)
{
    const std::filesystem::path sample = jwwsamples::SharedDir() / "samples" / "jww" / "Test5.jww";
    if (!std::filesystem::exists(sample)) SKIP_WITHOUT_SHARED_DATA("no Test5.jww");
    TConversionOptions options = DxfOptions();
    options.Heights = THeightUnit::Metres;
    const TConverted dxf = ConvertDrawingFile(sample, options);
    ASSERT_TRUE(dxf.Result.Clean());
    size_t raisedLines = 0, faces = 0;
    double top = 0;
    for (const TDxfEntity& e : SectionEntities(dxf.Document, "ENTITIES")) {
        if (e.type == "LINE" && (e.Number(30) != 0 || e.Number(31) != 0)) ++raisedLines;
        if (e.type == "3DFACE") {
            faces += e.Number(30) != 0 || e.Number(31) != 0 || e.Number(32) != 0;  // off the ground, as the glb counts
            EXPECT_EQ(e.Value(12), e.Value(13));
            EXPECT_EQ(e.Value(32), e.Value(33));
        }
        for (const int code : {30, 31, 32, 33})
            if (e.groups.count(code)) top = std::max(top, e.Number(code));
    }
    EXPECT_NEAR(top, 20000, 1e-6);
    options.Format = TOutputFormat::Glb;
    std::string root;
    size_t glbRaised = 0, glbFaces = 0;
    for (const auto& [id, shapes] : glb::ReadShapes(ConvertDrawingFile(sample, options).Document, root)) {
        for (const auto& e : shapes.Segments) glbRaised += e[2] != 0 || e[5] != 0;
        for (const auto& t : shapes.Triangles) glbFaces += t[2] != 0 || t[5] != 0 || t[8] != 0;
    }
    EXPECT_GT(glbRaised, 0u);
    EXPECT_EQ(raisedLines, glbRaised);
    EXPECT_EQ(faces, glbFaces);
}
