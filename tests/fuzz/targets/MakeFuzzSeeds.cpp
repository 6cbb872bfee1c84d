// Writes the fuzzers' starting corpora, made with the fixture writers, into <folder>/jww,
// <folder>/jws, <folder>/jwc and <folder>/jwk: small files of each entity kind in several
// versions, each behind an option-set byte. Usage: make_fuzz_seeds <folder>; exits 1 when the
// folder cannot be written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzConvert.h"
#include "support/ExamplePlan.h"
#include "support/JwcWriter.h"
#include "support/JwkWriter.h"
#include "support/JwsWriter.h"
#include "support/JwwWriter.h"

namespace fs = std::filesystem;
using namespace jwwfixture;

namespace {

constexpr double kPi = 3.14159265358979323846;
const char* const kKinds[] = {"lines", "arcs", "points", "texts", "dimensions", "solids", "blocks", "all"};
constexpr int kKindCount = 8;
constexpr int kVersions[] = {230, 351, 420, 600, 700};

TEntJwwMoji Text(double x, double y, const char* text)
{
    TEntJwwMoji t;
    t.common = Common(1, 0, 2);
    t.startX = x;
    t.startY = y;
    t.endX = x + 10;
    t.endY = y;
    t.sizeX = t.sizeY = 3;
    t.fontName = "Sans";
    t.text = text;
    return t;
}

TEntJwwSunpo Dimension()
{
    TEntJwwSunpo d;
    d.common = Common(3, 1, 1);
    d.line = MakeLine(0, -15, 180, -15, d.common);
    d.text = Text(84, -14, "9000");
    d.sxfMode = 1;
    d.auxLine1 = MakeLine(0, -2, 0, -17, d.common);
    d.auxLine2 = MakeLine(180, -2, 180, -17, d.common);
    d.point1 = MakePoint(0, -15, d.common);
    d.point2 = MakePoint(180, -15, d.common);
    return d;
}

TEntJwwSolid Solid(uint8_t lineType, uint16_t pen, std::array<double, 8> v)
{
    TEntJwwSolid s;
    s.common = Common(2, 0, pen, lineType);
    s.x1 = v[0], s.y1 = v[1], s.x2 = v[2], s.y2 = v[3], s.x3 = v[4], s.y3 = v[5], s.x4 = v[6], s.y4 = v[7];
    s.fillColor = 0x808080;
    return s;
}

// The entities of one kind (or of every kind) in a drawing's or a figure file's stream.
void Fill(TJwwStreamWriter& s, int kind)
{
    const bool all = kind == kKindCount - 1;
    if (all || kind == 0) s.Line(MakeLine(0, 0, 100, 0)).Line(MakeLine(0, 0, 0, 50, Common(9, 15, 9, 9)));
    if (all || kind == 1) {
        s.Arc(MakeArc(10, 10, 5, 0, kPi / 2));
        TEntJwwEnko e = MakeArc(50, 50, 20, 0, 2 * kPi, Common(0, 0, 104));
        e.flatness = 0.5, e.tiltAngle = kPi / 6, e.fullCircle = 1;
        s.Arc(e);
    }
    if (all || kind == 2) {
        TEntJwwTen coded = MakePoint(5, 5, Common(4, 0, 6, 100));
        coded.code = 3, coded.rotation = 0.5, coded.scale = 2;
        s.Point(MakePoint(0, 0)).Point(coded);
    }
    if (all || kind == 3) s.Text(Text(40, 100, "LDK"));
    if (all || kind == 4) s.Dimension(Dimension());
    if (all || kind == 5) {
        s.Solid(Solid(1, 10, {0, 0, 6, 0, 6, 6, 0, 6}));
        s.Solid(Solid(101, 3, {110, 0, 12, 1, 0, kPi / 2, kPi / 2, 0}));
        s.Solid(Solid(105, 4, {92, 110, 5, 1, 0, 0, 2 * kPi, 3}));
    }
    if (all || kind == 6) {
        s.Block(MakeInsert(2, 10, 10, 1, -1, kPi / 3));
        s.BeginBlockDef(MakeBlockDef(1, "leaf")).Line(MakeLine(0, 0, 0, 9)).Arc(MakeArc(0, 0, 9, 0, kPi / 2));
        s.EndBlockDef();
        s.BeginBlockDef(MakeBlockDef(2, "pair")).Block(MakeInsert(1, 0, 0)).Block(MakeInsert(1, 18, 0, -1, 1));
        s.EndBlockDef();
    }
}

std::vector<uint8_t> Jww(int version, int kind)
{
    TJwwFileWriter w(version);
    w.header.groupScales.fill(50);
    w.header.layerNames[1] = "walls";
    Fill(w.stream, kind);
    return w.Build();
}

std::vector<uint8_t> Jws(int version, int kind)
{
    jwsfixture::TJwsFileWriter w(version);
    w.groupScales[0] = 20;
    Fill(w.stream, kind);
    return w.Build();
}

// The old formats' records, shared by drawings and symbols.
template <class Writer> void FillOld(Writer& w, int kind)
{
    const bool all = kind == kKindCount - 1;
    if (all || kind == 0) w.Lines = {{0, 0, 100, 0, 1, 2, 0}, {0, 0, 0, 50, 9, 3, 17, 0, 0x20, 0x20}};
    if (all || kind == 1) w.Arcs = {{10, 10, 5, 1, 0, 90, 0, 1, 1, 0}, {50, 50, 20, 0.5f, 0, 360, 30, 1, 4, 2, 0, 0x40}};
    if (all || kind == 2) w.Points = {{1, 1, 0, 1}, {5, 5, 3, 2, 0x40}};
    if (all || kind == 3) w.Texts = {{40, 100, 52, 100, {1, 2, 0, 0}, "LDK", {}}, {0, 0, 5, 0, {}, "x", {}}};
}

std::vector<uint8_t> Jwc(bool floatScales, int kind)
{
    JwcWriter w;
    w.FloatScales = floatScales;
    w.GroupScales.fill(floatScales ? 50.0f : 100.0f);
    w.LayerNames[1] = "walls";
    FillOld(w, kind);
    return w.Build();
}

std::vector<uint8_t> Jwk(int kind)
{
    JwkWriter w;
    FillOld(w, kind);
    return w.Build();
}

bool Save(const fs::path& folder, const std::string& name, int optionSet, const std::vector<uint8_t>& file)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.put(static_cast<char>(optionSet % kFuzzOptionSetCount));
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    std::error_code error;
    for (const char* format : {"jww", "jws", "jwc", "jwk"}) fs::create_directories(root / format, error);

    bool ok = Save(root / "jww", "example_plan", 0, BuildExamplePlan());
    int set = 0;
    for (int kind = 0; kind < kKindCount; ++kind) {
        const std::string name = kKinds[kind];
        for (int version : kVersions) {
            ok = Save(root / "jww", name + "_" + std::to_string(version), set, Jww(version, kind)) && ok;
            ok = Save(root / "jws", name + "_" + std::to_string(version), set, Jws(version, kind)) && ok;
            ++set;
        }
        if (kind > 3 && kind < kKindCount - 1) continue;  // the old formats have four kinds
        ok = Save(root / "jwc", name + "_float", set, Jwc(true, kind)) && ok;
        ok = Save(root / "jwc", name + "_integer", set + 1, Jwc(false, kind)) && ok;
        ok = Save(root / "jwk", name, set + 2, Jwk(kind)) && ok;
    }
    if (!ok) std::fprintf(stderr, "make_fuzz_seeds: cannot write under %s\n", root.string().c_str());
    return ok ? 0 : 1;
}
