#include <gtest/gtest.h>

#include "support/Conversion.h"
#include "support/ColladaCheck.h"
#include "support/TempDir.h"

namespace {

// Triangles, quadrilaterals (both turning directions) and segments over several layers and
// colours, mixed in store order.
TConversionContext MixedDrawing()
{
    TConversionContext context;
    context.Options.CoordinateScale = 10.0;
    TFigureStore& store = context.Store;
    store.ResetPalette(context.Attributes);
    store.AddPaletteColor(static_cast<int32_t>(MakeColor(153, 128, 7)));
    const int32_t fill = store.PaletteIndexOf(static_cast<int32_t>(MakeColor(153, 128, 7)));
    for (int i = 0; i < 6; ++i) {
        const double x = 100.0 * i, y = -37.5 * i;
        store.AddLine(0, 2, x, y, x + 50, y + 25);
        store.AddQuad(3, fill, x, y, x + 40, y, x + 40, y + 30, x, y + 30);
        store.AddTriangle(3, 9, x, y, x, y + 10, x + 10, y);  // clockwise: turned
        store.AddQuad(17, 9, x, y, x, y + 20, x + 20, y + 20, x + 20, y);  // clockwise: turned
        store.AddLine(17, 9, x, y, x - 3.25, y + 1e-4);
        store.AddTriangle(255, 265, x, y, x + 1, y, x + 2, y);  // degenerate
        store.AddLine(255, 1, -x, -y, x, y);
    }
    return context;
}

}  // namespace

TEST(ColladaValidity, MixedDocumentValidatesAgainstTheSchemaAndLoadsInAssimp)
{
    TTempDir dir;
    TConversionContext context = MixedDrawing();
    const auto path = dir / "mixed.dae";
    WriteDocumentFile(context, path);
    ASSERT_TRUE(std::filesystem::exists(path));
    const std::optional<std::string> problems = CheckColladaDocument(path);
    if (!problems) GTEST_SKIP() << "neither xmllint with the COLLADA schema nor assimp is installed";
    EXPECT_EQ(*problems, "");
}

TEST(ColladaValidity, CheckerRejectsPerVertexNormalBindingWithTooFewNormals)
{
    // The binding inside <vertices> reads the normal array with every vertex index; assimp
    // refuses it once a vertex index reaches the number of normals.
    TTempDir dir;
    TConversionContext context;
    context.Store.ResetPalette(context.Attributes);
    context.Store.AddQuad(0, 1, 0, 0, 1, 0, 1, 1, 0, 1);
    const auto path = dir / "quad.dae";
    WriteDocumentFile(context, path);
    std::string text = ReadFileBytes(path);
    const std::string position = R"(        <input semantic="POSITION" source="#layer0-C1-Pos" />)";
    const std::string offsetNormal = "        <input offset=\"1\" semantic=\"NORMAL\" source=\"#layer0-C1-Normal\" />\r\n";
    text.replace(text.find(position), position.size(),
                 position + "\r\n        <input semantic=\"NORMAL\" source=\"#layer0-C1-Normal\" />");
    text.erase(text.find(offsetNormal), offsetNormal.size());
    text.replace(text.find("        0 0 1 0 2 0 0 1 2 1 3 1"), 32, "        0 1 2 0 2 3");
    WriteFileBytes(path, text);
    const std::optional<std::string> problems = CheckAssimpImport(path);
    if (!problems) GTEST_SKIP() << "assimp is not installed";
    EXPECT_NE(problems->find("Invalid data index"), std::string::npos) << *problems;
}
