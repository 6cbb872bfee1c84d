#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <string>
#include <vector>

#include "output/ColladaNumbers.h"
#include "support/ColladaCheck.h"
#include "support/Conversion.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

// Rebuilds a figure store from each expected document (its positions, index lists, colours),
// writes it again and compares line by line: the document's whole layout, the grouping by
// (layer, colour), the numbering and the numbers must come out the same. The Figures are
// added interleaved across geometries, so the grouping has real work to do.

namespace {

namespace fs = std::filesystem;

struct TParsedGeometry {
    int32_t Layer = 0, Color = 0;
    std::vector<double> Positions;
    std::vector<std::vector<int64_t>> Shapes;  // vertex numbers: 3 for a triangle, 4 for a quadrilateral
    std::vector<std::pair<int64_t, int64_t>> Segments;
};

struct TParsedDocument {
    std::vector<std::pair<int32_t, uint32_t>> Colors;  // palette index, colour value
    std::vector<TParsedGeometry> Geometries;
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

template <typename Number>
std::vector<Number> Numbers(std::string_view text)
{
    std::vector<Number> numbers;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '<' || *p == '>' || std::isalpha(static_cast<unsigned char>(*p)) || *p == '/'))
            ++p;
        if (p >= end) break;
        Number value{};
        auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc()) break;
        numbers.push_back(value);
        p = next;
    }
    return numbers;
}

unsigned ChannelFromText(std::string_view text)
{
    for (unsigned c = 0; c < 256; ++c)
        if (ColorChannelText(c) == text) return c;
    ADD_FAILURE() << "no channel writes as " << text;
    return 0;
}

TParsedDocument ParseDocument(const std::string& bytes)
{
    TParsedDocument doc;
    TParsedGeometry* geometry = nullptr;
    enum { kNone, kPositions, kIndices } block = kNone;
    int32_t effect = 0;
    for (const std::string& line : SplitText(bytes, "\r\n")) {
        if (StartsWith(line, "  <effect id=\"ColorID")) {
            effect = std::stoi(line.substr(21));
        } else if (StartsWith(line, "            <color>")) {
            const auto words = SplitText(line.substr(19, line.find("</") - 19), " ");
            doc.Colors.emplace_back(effect, MakeColor(ChannelFromText(words.at(0)), ChannelFromText(words.at(1)),
                                                      ChannelFromText(words.at(2))));
        } else if (StartsWith(line, "  <geometry id=\"layer")) {
            geometry = &doc.Geometries.emplace_back();
            geometry->Layer = std::stoi(line.substr(21));
            geometry->Color = std::stoi(line.substr(line.find("-C") + 2));
        } else if (geometry != nullptr && line.find("-Pos-array\" count=") != std::string::npos &&
                   StartsWith(line, "        <float_array")) {
            block = kPositions;
        } else if (line == "        </float_array>" || line == "        </p>") {
            block = kNone;
        } else if (line == "        <p>") {
            block = kIndices;
        } else if (block == kPositions) {
            const auto values = Numbers<double>(line);
            geometry->Positions.insert(geometry->Positions.end(), values.begin(), values.end());
        } else if (block == kIndices) {
            const auto pairs = Numbers<int64_t>(line);
            std::vector<int64_t> vertices;
            for (std::size_t i = 0; i < pairs.size(); i += 2) vertices.push_back(pairs[i]);
            if (vertices.size() == 6) vertices = {vertices[0], vertices[1], vertices[2], vertices[5]};  // quad
            geometry->Shapes.push_back(vertices);
        } else if (StartsWith(line, "        <p>") && geometry != nullptr) {
            const auto ends = Numbers<int64_t>(line);
            geometry->Segments.emplace_back(ends.at(0), ends.at(1));
        }
    }
    return doc;
}

TFigPoint Vertex(const TParsedGeometry& g, int64_t n)
{
    const std::size_t i = static_cast<std::size_t>(3 * n);
    return {g.Positions.at(i), g.Positions.at(i + 1), g.Positions.at(i + 2)};
}

// Printed values are taken as stored coordinates at the factor 1000, where the output scale is 1.
void Rebuild(const TParsedDocument& doc, TConversionContext& context)
{
    context.Options.CoordinateScale = 1000.0;
    TFigureStore& store = context.Store;
    store.ClearFigures();
    for (const auto& [index, rgb] : doc.Colors) store.Palette[static_cast<std::size_t>(index)] = rgb;
    store.PaletteCount = kPaletteSize;
    // Straight into the list: the points keep the document's order, turned or not.
    auto add = [&store](const TParsedGeometry& g, int32_t kind, auto vertices) {
        TPlanePoint points[4];
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const TFigPoint p = Vertex(g, vertices[i]);
            points[i] = {p.x, p.y};
        }
        store.Figures.Add(kind, g.Layer, g.Color, points);
        store.FigureCount = static_cast<int32_t>(store.Figures.size());
    };
    std::vector<std::size_t> nextShape(doc.Geometries.size(), 0), nextSegment(doc.Geometries.size(), 0);
    for (bool added = true; added;) {
        added = false;
        for (std::size_t k = doc.Geometries.size(); k-- > 0;) {  // layers interleaved, highest first
            const TParsedGeometry& g = doc.Geometries[k];
            if (nextSegment[k] < g.Segments.size()) {
                const auto [a, b] = g.Segments[nextSegment[k]++];
                add(g, fkLine, std::vector{a, b});
                added = true;
            }
            if (nextShape[k] < g.Shapes.size()) {
                const auto& shape = g.Shapes[nextShape[k]++];
                add(g, shape.size() == 3 ? fkTriangle : fkQuad, shape);
                added = true;
            }
        }
    }
}

std::vector<fs::path> GoldenDocuments()
{
    std::vector<fs::path> found;
    const fs::path golden = fs::path(TESSARO_SHARED_DIR) / "golden";
    std::error_code error;
    if (!fs::is_directory(golden, error)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(golden, error))
        if (entry.path().extension() == ".dae") found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

TEST(ColladaGolden, RewritingEveryExpectedDocumentReproducesItLineByLine)
{
    const std::vector<fs::path> documents = GoldenDocuments();
    if (documents.empty()) SKIP_WITHOUT_SHARED_DATA("no expected documents in " << TESSARO_SHARED_DIR);
    for (const fs::path& golden : documents) {
        SCOPED_TRACE(golden.string());
        const std::string expected = ReadFileBytes(golden);
        TConversionContext context;
        Rebuild(ParseDocument(expected), context);
        for (unsigned threads : {1u, 3u}) {  // the geometries formatted on one thread and on several
            context.Options.Threads = threads;
            context.Options.MinFiguresForThreads = 0;
            EXPECT_EQ(CompareColladaDocuments(DocumentOf(context), expected), "") << threads << " threads";
        }
    }
}

TEST(ColladaGolden, RewrittenDocumentWithFilledShapesValidatesAndLoads)
{
    const fs::path golden = fs::path(TESSARO_SHARED_DIR) / "golden" / "variants" / u8"サンプル.v1.dae";
    std::error_code error;
    if (!fs::exists(golden, error)) SKIP_WITHOUT_SHARED_DATA("no expected documents in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    TConversionContext context;
    Rebuild(ParseDocument(ReadFileBytes(golden)), context);
    const fs::path out = dir / "rewritten.dae";
    WriteFileBytes(out, DocumentOf(context));
    const std::optional<std::string> problems = CheckColladaDocument(out);
    if (!problems) GTEST_SKIP() << "neither xmllint with the COLLADA schema nor assimp is installed";
    EXPECT_EQ(*problems, "");
}
