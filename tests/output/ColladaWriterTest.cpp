#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "support/Conversion.h"
#include "support/TempDir.h"

namespace {

// A context whose palette holds the default pen colours (light background), as a walker
// leaves it.
TConversionContext NewContext(double coordinateScale = 1.0)
{
    TConversionContext context;
    context.Options.CoordinateScale = coordinateScale;
    context.Store.ResetPalette(context.Attributes);
    context.Store.ClearFigures();
    return context;
}

std::vector<std::string> WriteLines(TConversionContext& context, const TTempDir& dir)
{
    const auto path = dir / "out.dae";
    WriteDocumentFile(context, path);
    return ReadCrLfLines(path);
}

// Lines from the one that equals first up to and including the first that equals last.
std::vector<std::string> Slice(const std::vector<std::string>& lines, const std::string& first,
                               const std::string& last)
{
    auto begin = std::find(lines.begin(), lines.end(), first);
    if (begin == lines.end()) return {};
    auto end = std::find(begin, lines.end(), last);
    if (end == lines.end()) return {};
    return std::vector<std::string>(begin, end + 1);
}

std::vector<std::string> LinesContaining(const std::vector<std::string>& lines, const std::string& part)
{
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos) found.push_back(line);
    return found;
}

const std::vector<std::string> kHeaderBeforeStamps = {
    R"(<?xml version="1.0" encoding="utf-8"?>)",
    R"(<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">)",
    "<asset>",
    "  <contributor>",
    "    <author>Halvik</author>",
    "    <authoring_tool>TESSARO</authoring_tool>",
    "    <copyright>Halvik All Rights Reserved</copyright>",
    "  </contributor>",
};
const std::vector<std::string> kHeaderAfterStamps = {
    "  <revision>1.0</revision>",
    "  <up_axis>Z_UP</up_axis>",
    "</asset>",
};

std::vector<std::string> Document(const std::string& created, const std::string& modified,
                                  const std::vector<std::string>& body)
{
    std::vector<std::string> lines = kHeaderBeforeStamps;
    lines.push_back("  <created>" + created + "</created>");
    lines.push_back("  <modified>" + modified + "</modified>");
    lines.insert(lines.end(), kHeaderAfterStamps.begin(), kHeaderAfterStamps.end());
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

// The values of one attribute in the lines that hold it, in document order.
std::vector<std::string> Values(const std::vector<std::string>& lines, const std::string& attribute)
{
    std::vector<std::string> values;
    for (const std::string& line : lines) {
        const std::size_t at = line.find(attribute + "=\"");
        if (at == std::string::npos) continue;
        const std::size_t from = at + attribute.size() + 2;
        values.push_back(line.substr(from, line.find('"', from) - from));
    }
    return values;
}

using TNames = std::vector<std::string>;

std::string Between(const std::string& line, const std::string& open, const std::string& close)
{
    const std::size_t a = line.find(open);
    const std::size_t b = line.find(close, a == std::string::npos ? 0 : a + open.size());
    if (a == std::string::npos || b == std::string::npos) return "<none>";
    return line.substr(a + open.size(), b - a - open.size());
}

const std::regex kStampForm(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}Z)");

}  // namespace

TEST(ColladaWriter, OneSegmentDocumentMatchesEveryLine)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(0, 2, 0, 0, 1000, 0);
    const auto lines = WriteLines(context, dir);
    ASSERT_GT(lines.size(), 10u);
    const std::string stamp = Between(lines[8], "<created>", "</created>");
    EXPECT_TRUE(std::regex_match(stamp, kStampForm)) << stamp;
    EXPECT_EQ(lines[9], "  <modified>" + stamp + "</modified>");

    const TNames expected = Document(stamp, stamp, {
        "<library_effects>",
        R"(  <effect id="ColorID2">)",
        "    <profile_COMMON>",
        R"(      <technique sid="COMMON">)",
        "        <lambert>",
        "          <diffuse>",
        "            <color>0 0 0 1</color>",
        "          </diffuse>",
        "        </lambert>",
        "      </technique>",
        "    </profile_COMMON>",
        "  </effect>",
        "</library_effects>",
        "<library_materials>",
        R"(  <material id="DefColor2">)",
        R"(    <instance_effect url="#ColorID2" />)",
        "  </material>",
        "</library_materials>",
        "<library_geometries>",
        R"(  <geometry id="layer0-C2" name="layer0-C2">)",
        "    <mesh>",
        R"(      <source id="layer0-C2-Pos">)",
        R"(        <float_array id="layer0-C2-Pos-array" count="6">)",
        "          0.000000000 0.000000000 0.000000000 1.000000000 0.000000000 0.000000000",
        "        </float_array>",
        "        <technique_common>",
        R"(          <accessor source="#layer0-C2-Pos-array" count="2" stride="3">)",
        R"(            <param name="X" type="float" />)",
        R"(            <param name="Y" type="float" />)",
        R"(            <param name="Z" type="float" />)",
        "          </accessor>",
        "        </technique_common>",
        "      </source>",
        R"(      <vertices id="layer0-C2-Vtx">)",
        R"(        <input semantic="POSITION" source="#layer0-C2-Pos" />)",
        "      </vertices>",
        R"(      <lines count="1" material="Color2">)",
        R"(        <input offset="0" semantic="VERTEX" source="#layer0-C2-Vtx" />)",
        "        <p>0 1</p>",
        "      </lines>",
        "    </mesh>",
        "  </geometry>",
        "</library_geometries>",
        "<library_visual_scenes>",
        R"(  <visual_scene id="DefaultScene">)",
        R"(    <node id="Layer0" name="Layer0">)",
        R"(      <instance_geometry url="#layer0-C2">)",
        "        <bind_material>",
        "          <technique_common>",
        R"(            <instance_material symbol="Color2" target="#DefColor2" />)",
        "          </technique_common>",
        "        </bind_material>",
        "      </instance_geometry>",
        "    </node>",
        "  </visual_scene>",
        "</library_visual_scenes>",
        "<scene>",
        R"(  <instance_visual_scene url="#DefaultScene" />)",
        "</scene>",
        "</COLLADA>",
    });
    EXPECT_EQ(lines, expected);
}

TEST(ColladaWriter, EveryLineEndsWithCrLfAndNothingFollowsTheRoot)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(0, 2, 0, 0, 1000, 0);
    context.Store.AddQuad(1, 3, 0, 0, 1, 0, 1, 1, 0, 1);
    WriteDocumentFile(context, dir / "out.dae");
    const std::string bytes = ReadFileBytes(dir / "out.dae");
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes.substr(bytes.size() - 12), "</COLLADA>\r\n");
    std::ptrdiff_t pairs = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++pairs;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), pairs);  // no bare LF
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), pairs);  // no bare CR
}

TEST(ColladaWriter, SegmentAtTimesThousandIsWrittenInDrawingUnits)
{
    TTempDir dir;
    TConversionContext context = NewContext(1000.0);
    context.Store.AddLine(0, 2, 0, 0, 1000, 0);
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(LinesContaining(lines, "          0.0"),
              TNames{"          0.000000000 0.000000000 0.000000000 1000.000000000 0.000000000 0.000000000"});
}

TEST(ColladaWriter, CoordinatesAreRoundedToNineDecimalsWithSign)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(0, 2, -1234.5678, 0.0004, -0.0000001, 2.0000006);
    const auto lines = WriteLines(context, dir);
    // -1.2345678 and 0.0000004 at x1; -0.0000000001 rounds to zero but keeps its sign, as
    // "%.9f" does; 0.0020000006 rounds up.
    EXPECT_EQ(LinesContaining(lines, "          -1.2"),
              TNames{
                  "          -1.234567800 0.000000400 0.000000000 -0.000000000 0.002000001 0.000000000"});
}

TEST(ColladaWriter, QuadrilateralGivesFourVerticesTwoTrianglesAndPerTriangleNormals)
{
    TTempDir dir;
    TConversionContext context = NewContext(1000.0);
    context.Store.AddQuad(0, 5, 0, 0, 10, 0, 10, 10, 0, 10);
    const auto lines = WriteLines(context, dir);
    // The position source is written as for segments (see the whole document above).
    EXPECT_EQ(Slice(lines, R"(        <float_array id="layer0-C5-Pos-array" count="12">)", "        </float_array>"),
              (TNames{R"(        <float_array id="layer0-C5-Pos-array" count="12">)",
                      "          0.000000000 0.000000000 0.000000000 10.000000000 0.000000000 0.000000000 "
                      "10.000000000 10.000000000 0.000000000 0.000000000 10.000000000 0.000000000",
                      "        </float_array>"}));
    const TNames expected = {
        R"(      <source id="layer0-C5-Normal">)",
        R"(        <float_array id="layer0-C5-Normal-array" count="6">)",
        "          0.000000000 0.000000000 1.000000000 0.000000000 0.000000000 1.000000000",
        "        </float_array>",
        "        <technique_common>",
        R"(          <accessor source="#layer0-C5-Normal-array" count="2" stride="3">)",
        R"(            <param name="X" type="float"/>)",
        R"(            <param name="Y" type="float"/>)",
        R"(            <param name="Z" type="float"/>)",
        "          </accessor>",
        "        </technique_common>",
        "      </source>",
        R"(      <vertices id="layer0-C5-Vtx">)",
        R"(        <input semantic="POSITION" source="#layer0-C5-Pos" />)",
        "      </vertices>",
        R"(      <triangles count="2" material="Color5">)",
        R"(        <input offset="0" semantic="VERTEX" source="#layer0-C5-Vtx" />)",
        R"(        <input offset="1" semantic="NORMAL" source="#layer0-C5-Normal" />)",
        "        <p>",
        "        0 0 1 0 2 0 0 1 2 1 3 1",
        "        </p>",
        "      </triangles>",
    };
    EXPECT_EQ(Slice(lines, R"(      <source id="layer0-C5-Normal">)", "      </triangles>"), expected);
    EXPECT_EQ(Values(lines, "count"), (TNames{"12", "4", "6", "2", "2"}));
}

TEST(ColladaWriter, QuadTriangleAndSegmentShareOneVertexNumbering)
{
    TTempDir dir;
    TConversionContext context = NewContext(1000.0);
    context.Store.AddLine(0, 1, 5, 5, 6, 6);  // stored first, still numbered after the shapes
    context.Store.AddQuad(0, 1, 0, 0, 1, 0, 1, 1, 0, 1);
    context.Store.AddTriangle(0, 1, 2, 0, 3, 0, 2, 1);
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(LinesContaining(lines, R"(<triangles count=)"),
              TNames{R"(      <triangles count="3" material="Color1">)"});
    const auto indices = Slice(lines, "        <p>", "        </p>");
    EXPECT_EQ(indices, (TNames{"        <p>", "        0 0 1 0 2 0 0 1 2 1 3 1", "        4 2 5 2 6 2", "        </p>"}));
    EXPECT_EQ(LinesContaining(lines, "<p>7"), TNames{"        <p>7 8</p>"});
    EXPECT_EQ(LinesContaining(lines, "-Pos-array\" count="),
              (TNames{R"(        <float_array id="layer0-C1-Pos-array" count="27">)",
                      R"(          <accessor source="#layer0-C1-Pos-array" count="9" stride="3">)"}));
    // Position lines: the shapes in store order, then the segment.
    EXPECT_EQ(Slice(lines, R"(        <float_array id="layer0-C1-Pos-array" count="27">)", "        </float_array>"),
              (TNames{
                  R"(        <float_array id="layer0-C1-Pos-array" count="27">)",
                  "          0.000000000 0.000000000 0.000000000 1.000000000 0.000000000 0.000000000 "
                  "1.000000000 1.000000000 0.000000000 0.000000000 1.000000000 0.000000000",
                  "          2.000000000 0.000000000 0.000000000 3.000000000 0.000000000 0.000000000 "
                  "2.000000000 1.000000000 0.000000000",
                  "          5.000000000 5.000000000 0.000000000 6.000000000 6.000000000 0.000000000",
                  "        </float_array>",
              }));
}

TEST(ColladaWriter, TriangleThenSegmentNumbersTheSegmentAfterTheTriangle)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddTriangle(2, 4, 0, 0, 1, 0, 0, 1);
    context.Store.AddLine(2, 4, 0, 0, 1, 1);
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(LinesContaining(lines, "        0 0 1 0"), TNames{"        0 0 1 0 2 0"});
    EXPECT_EQ(LinesContaining(lines, "<p>3"), TNames{"        <p>3 4</p>"});
}

TEST(ColladaWriter, DegenerateTriangleNormalIsWrittenUnnormalised)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddTriangle(0, 1, 0, 0, 1, 0, 2, 0);  // collinear: the normal is zero
    context.Store.AddTriangle(0, 1, 0, 0, 0.0001, 0, 0, 0.0001);  // length 1e-8: kept as is
    const auto lines = WriteLines(context, dir);
    const auto normals = Slice(lines, R"(        <float_array id="layer0-C1-Normal-array" count="6">)",
                               "        </float_array>");
    EXPECT_EQ(normals, (TNames{R"(        <float_array id="layer0-C1-Normal-array" count="6">)",
                               "          0.000000000 0.000000000 0.000000000",
                               "          0.000000000 0.000000000 0.000000010", "        </float_array>"}));
}

TEST(ColladaWriter, EffectsAndMaterialsFollowAscendingPaletteIndex)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(0, 12, 0, 0, 1, 1);
    context.Store.AddLine(0, 3, 0, 0, 1, 1);
    context.Store.AddLine(0, 300, 0, 0, 1, 1);
    context.Store.AddLine(0, 7, 0, 0, 1, 1);
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(Values(LinesContaining(lines, "<effect "), "id"), (TNames{"ColorID3", "ColorID7", "ColorID12", "ColorID300"}));
    EXPECT_EQ(Values(LinesContaining(lines, "<material "), "id"),
              (TNames{"DefColor3", "DefColor7", "DefColor12", "DefColor300"}));
    EXPECT_EQ(Values(LinesContaining(lines, "<geometry "), "name"),
              (TNames{"layer0-C3", "layer0-C7", "layer0-C12", "layer0-C300"}));
}

TEST(ColladaWriter, GeometriesAndNodesFollowAscendingLayerWhateverTheStoreOrder)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(9, 2, 0, 0, 1, 1);
    context.Store.AddLine(200, 5, 0, 0, 1, 1);
    context.Store.AddLine(2, 5, 0, 0, 1, 1);
    context.Store.AddLine(9, 1, 0, 0, 1, 1);
    context.Store.AddLine(2, 2, 0, 0, 1, 1);
    const auto lines = WriteLines(context, dir);
    const TNames geometries = {"layer2-C2", "layer2-C5", "layer9-C1", "layer9-C2", "layer200-C5"};
    EXPECT_EQ(Values(LinesContaining(lines, "<geometry "), "name"), geometries);
    const auto scene = Slice(lines, R"(  <visual_scene id="DefaultScene">)", "  </visual_scene>");
    EXPECT_EQ(Values(LinesContaining(scene, "<node "), "name"), (TNames{"Layer2", "Layer9", "Layer200"}));
    EXPECT_EQ(Values(scene, "url"), (TNames{"#layer2-C2", "#layer2-C5", "#layer9-C1", "#layer9-C2", "#layer200-C5"}));
    EXPECT_EQ(Values(scene, "target"), (TNames{"#DefColor2", "#DefColor5", "#DefColor1", "#DefColor2", "#DefColor5"}));
}

TEST(ColladaWriter, LayerWithOneColourGetsOneGeometryWhileEffectsCoverAllLayers)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(4, 12, 0, 0, 1, 1);
    context.Store.AddLine(4, 12, 1, 1, 2, 2);
    context.Store.AddLine(1, 3, 0, 0, 1, 1);
    context.Store.AddQuad(6, 8, 0, 0, 1, 0, 1, 1, 0, 1);
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(Values(LinesContaining(lines, "<geometry "), "name"), (TNames{"layer1-C3", "layer4-C12", "layer6-C8"}));
    EXPECT_EQ(Values(LinesContaining(lines, "<effect "), "id"), (TNames{"ColorID3", "ColorID8", "ColorID12"}));
    EXPECT_EQ(LinesContaining(lines, "<p>"),
              (TNames{"        <p>0 1</p>", "        <p>0 1</p>", "        <p>2 3</p>", "        <p>"}));
}

TEST(ColladaWriter, ColourChannelsAreCutToThousandths)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddPaletteColor(static_cast<int32_t>(MakeColor(0, 128, 255)));
    context.Store.AddPaletteColor(static_cast<int32_t>(MakeColor(153, 1, 13)));
    context.Store.AddLine(0, context.Store.PaletteIndexOf(static_cast<int32_t>(MakeColor(0, 128, 255))), 0, 0, 1, 1);
    context.Store.AddLine(0, context.Store.PaletteIndexOf(static_cast<int32_t>(MakeColor(153, 1, 13))), 0, 0, 1, 1);
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(LinesContaining(lines, "<color>"),
              (TNames{"            <color>0 0.501 1 1</color>", "            <color>0.599 0.003 0.05 1</color>"}));
}

TEST(ColladaWriter, EmptyStoreWritesEmptyLibrariesAndScene)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    const auto lines = WriteLines(context, dir);
    ASSERT_GT(lines.size(), 10u);
    const std::string stamp = Between(lines[8], "<created>", "</created>");
    EXPECT_EQ(lines, Document(stamp, stamp, {
                         "<library_effects>",
                         "</library_effects>",
                         "<library_materials>",
                         "</library_materials>",
                         "<library_geometries>",
                         "</library_geometries>",
                         "<library_visual_scenes>",
                         R"(  <visual_scene id="DefaultScene">)",
                         "  </visual_scene>",
                         "</library_visual_scenes>",
                         "<scene>",
                         R"(  <instance_visual_scene url="#DefaultScene" />)",
                         "</scene>",
                         "</COLLADA>",
                     }));
}

TEST(ColladaWriter, FigureWithColourOutOfRangeCountsButDrawsNothing)
{
    TTempDir dir;
    TConversionContext context = NewContext();
    context.Store.AddLine(3, 0, 0, 0, 1, 1);  // colour 0: counted as colour 1
    const auto lines = WriteLines(context, dir);
    EXPECT_EQ(Values(LinesContaining(lines, "<effect "), "id"), TNames{"ColorID1"});
    EXPECT_EQ(LinesContaining(lines, "count="),
              (TNames{R"(        <float_array id="layer3-C1-Pos-array" count="0">)",
                      R"(          <accessor source="#layer3-C1-Pos-array" count="0" stride="3">)"}));
    EXPECT_EQ(LinesContaining(lines, "<lines"), TNames{});
}
