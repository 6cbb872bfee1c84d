#pragma once
// The elements of the COLLADA document, each written by one helper, so that every writer that
// produces the document (the grouped writer, and the benchmark's store-rescanning reference)
// spells each element the same way and differs only in how it finds a geometry's Figures.
#include <array>
#include <concepts>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "figures/FigUnit.h"
#include "output/ColladaNumbers.h"
#include "util/BufferedOutput.h"

// Writes the document's lines (every Line ends with CR LF) and its numbers.
class TColladaDocument {
public:
    TColladaDocument(TBufferedOutput& file, double scale) : file_(file), scale_(scale) {}

    template <typename... Parts>
    void Line(const Parts&... parts)
    {
        (Put(parts), ...);
        file_.Write("\r\n");
    }

    void Put(std::string_view text) { file_.Write(text); }
    TBufferedOutput& File() { return file_; }
    double Scale() const { return scale_; }

    template <std::integral Integer>
    void Put(Integer value)
    {
        file_.WriteInt(static_cast<int64_t>(value));
    }

    void Fixed9(long double value);

    // One line of the position array: the Figure's points, blank separated.
    void PositionLine(const TFigure& figure);
    // One line of a position array: the indent, then the `count` points' stored coordinates
    // in output units (the extended-precision product with the scale), blank separated.
    void PointsLine(const TFigPoint* points, int count);
    // One line of the normal array: one unit normal per triangle of a filled shape.
    void NormalLine(const TFigure& filled);
    // One line of the triangles' index list for a filled shape whose first vertex is number
    // vertex and first triangle number triangle; both are advanced past the shape.
    void TriangleIndexLine(const TFigure& filled, int64_t& vertex, int64_t& triangle);

    // The unit normal of the triangle (p1, a, b), blank separated.
    void Normal(const TFigPoint& p1, const TFigPoint& a, const TFigPoint& b);

private:
    // The indent, the points and the line end; with reuseLast, a point equal to the one
    // before it copies that one's text.
    void ArrayLine(const TFigPoint* points, int count, bool reuseLast);
    // A point's three coordinates, each followed by a blank.
    char* PointText(const TFigPoint& point, char* out) const;
    char* PointTextReusingLast(const TFigPoint& point, char* out);

    TBufferedOutput& file_;
    double scale_;
    TFigPoint lastPoint_;
    std::array<char, 96> lastText_;
    std::size_t lastTextSize_ = 0;  // 0: no text kept
};

// A filled shape is a triangle or a quadrilateral; it adds triangles to its geometry.
inline bool IsFilledShape(int32_t kind) { return kind == fkTriangle || kind == fkQuad; }

// "layer<h>-C<s>": the id of the geometry of layer h and colour s.
std::string GeometryId(int32_t layer, int32_t color);

// The XML declaration, the root's start and the asset block.
void WriteHeader(TColladaDocument& doc, const std::string& created, const std::string& modified);
// One effect and one material for every palette index whose total is above 0.
void WriteEffects(TColladaDocument& doc, const TFigureStore& store, const std::vector<int32_t>& colorTotals);
void WriteMaterials(TColladaDocument& doc, const std::vector<int32_t>& colorTotals);
// The compact document's effects and materials, for every palette index whose total is above 0:
// "DefColor<s>-Lines" for its segments, the colour as diffuse; and, when withTriangles[s] is
// set, "DefColor<s>" for its triangles, unlit: the colour as emission over a black diffuse, so
// that no light changes it.
void WriteUnlitEffects(TColladaDocument& doc, const TFigureStore& store, const std::vector<int32_t>& colorTotals,
                       const std::vector<bool>& withTriangles);
void WriteUnlitMaterials(TColladaDocument& doc, const std::vector<int32_t>& colorTotals,
                         const std::vector<bool>& withTriangles);

// The geometry's two source kinds: named by id suffix, their accessor's params closed as given.
struct TSourceKind {
    std::string_view Suffix;      // "Pos" or "Normal"
    std::string_view ParamClose;  // " />" or "/>"
};
constexpr TSourceKind kPositions{"Pos", " />"};
constexpr TSourceKind kNormals{"Normal", "/>"};

void BeginGeometry(TColladaDocument& doc, const std::string& id);
// A <source> of count points of three floats: values writes the float array's lines.
void WriteSource(TColladaDocument& doc, const std::string& id, TSourceKind kind, int64_t count,
                 const std::function<void()>& values);
void WriteVertices(TColladaDocument& doc, const std::string& id);
// The <triangles> element of count triangles: indices writes the index list's lines.
void WriteTriangles(TColladaDocument& doc, const std::string& id, int32_t color, int64_t count,
                    const std::function<void()>& indices);
// One <lines> element per segment for `count` segments whose vertices are numbered from
// vertex on, two each.
void WriteSegments(TColladaDocument& doc, const std::string& id, int32_t color, int64_t vertex, std::size_t count);
// The <lines> element of count segments, its material symbol "Color<s>-Lines" (the segments'
// own material, WriteUnlitMaterials): indices writes the index list's lines.
void WriteLines(TColladaDocument& doc, const std::string& id, int32_t color, int64_t count,
                const std::function<void()>& indices);
// The indent of the lines of a float array and of an index list.
inline constexpr std::string_view kArrayIndent = "          ";  // ten blanks
inline constexpr std::string_view kIndexIndent = "        ";    // eight blanks
void EndGeometry(TColladaDocument& doc);

// The visual scene: one node per used layer, instancing the geometries of its colours.
void BeginScene(TColladaDocument& doc);
void BeginNode(TColladaDocument& doc, int32_t layer);
void WriteInstance(TColladaDocument& doc, int32_t layer, int32_t color);
// An instance in the compact document: its segments bound to "DefColor<s>-Lines" and, when
// triangles is set, its triangles to "DefColor<s>".
void WriteUnlitInstance(TColladaDocument& doc, int32_t layer, int32_t color, bool triangles);
void EndNode(TColladaDocument& doc);
// Closes the visual scene, names it the scene and closes the root.
void EndScene(TColladaDocument& doc);
