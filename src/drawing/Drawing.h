#pragma once
// A drawing as CAD documents keep it, whatever format it was read from: entities that stay
// what the drawing holds (a line, an arc, a text, a placed block), each with its layer, pen
// colour, line type and width; block definitions with their own entities; the layers with
// their names and states, the line types used, the fonts the texts name. Coordinates are
// model millimetres (stored coordinate times the drawing's scale), texts and names UTF-8.
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "geometry/EllipticArc.h"
#include "util/DrawingFacts.h"

namespace drawing {

// What every entity carries. The layer is the drawing's layer number (group * 16 + layer);
// kInheritLayer marks a block member that takes the layer of its placement.
struct TAttributes {
    static constexpr int32_t kInheritLayer = -1;
    int32_t layer = 0;
    uint32_t color = 0;        // 0x00BBGGRR
    bool defaultPen = false;   // the background's default pen (white on dark, black on light)
    int32_t lineType = 0;      // index into TDrawing::lineTypes; 0 is the solid line
    int32_t lineWeight = -1;   // hundredths of a millimetre; -1: the layer's
};

// z is 0 but for a line lifted by the drawing's heights.
struct TLine {
    TAttributes a;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double z1 = 0, z2 = 0;
};

// A face in space of three corners (a wall's or a roof's triangle, from the heights).
struct TFace {
    TAttributes a;
    std::array<double, 9> xyz{};
};

// A circle, an arc, an ellipse or an elliptic arc; `whole` for a closed one.
struct TArc {
    TAttributes a;
    TEllipticArc arc;
    bool whole = false;
};

struct TPoint {
    TAttributes a;
    double x = 0, y = 0;
};

// A text from (x, y) along `angle` degrees; (endX, endY) is where it ends when `fit`.
struct TText {
    TAttributes a;
    double x = 0, y = 0, endX = 0, endY = 0;
    double height = 0, widthFactor = 1, angle = 0;
    bool fit = false;
    int32_t font = -1;  // index into TDrawing::fonts; -1 the default style
    std::string text;
};

// A filled polygon of three or four corners in drawing order (p4 = p3 for a triangle).
struct TSolid {
    TAttributes a;
    std::array<double, 8> xy{};
};

// A filled region bounded by elliptic arcs and straight edges: what an arc-shaped solid
// encloses. Each loop is a closed path of edges in order.
struct TRegionEdge {
    bool arc = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a straight edge
    TEllipticArc curve;                     // an arc edge, counter-clockwise or not by its sweep
};
struct TRegion {
    TAttributes a;
    std::vector<std::vector<TRegionEdge>> loops;
};

// A linear dimension: measured from (x1, y1) to (x2, y2) along `angle` degrees, its line
// through (lineX, lineY), its value text (as the drawing shows it) centred on (textX, textY);
// `block` holds what it draws (its lines, end points and text), as CAD programs show it.
struct TDimension {
    TAttributes a;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, lineX = 0, lineY = 0, angle = 0;
    double textX = 0, textY = 0, measurement = 0;
    std::string value;
    int32_t block = 0;  // index into TDrawing::blocks
};

// A block placed: local (x, y) maps to insertion + R(rotation) (scaleX x, scaleY y).
struct TInsert {
    TAttributes a;
    int32_t block = 0;  // index into TDrawing::blocks
    double x = 0, y = 0, scaleX = 1, scaleY = 1, rotation = 0;  // radians
};

struct TEntities {
    std::vector<TLine> lines;
    std::vector<TArc> arcs;
    std::vector<TPoint> points;
    std::vector<TText> texts;
    std::vector<TSolid> solids;
    std::vector<TRegion> regions;
    std::vector<TDimension> dimensions;
    std::vector<TInsert> inserts;
    std::vector<TFace> faces;

    size_t Count() const
    {
        return lines.size() + arcs.size() + points.size() + texts.size() + solids.size() + regions.size() +
               dimensions.size() + inserts.size() + faces.size();
    }
};

struct TBlock {
    std::string name;  // as the drawing names it (not yet unique)
    TEntities entities;
    bool dimension = false;  // the drawing of one dimension, no block of the drawing's own
};

struct TLayer {
    std::string groupName, name;  // as the drawing names them
    bool hidden = false;
    bool locked = false;  // shown, not to be edited
    bool used = false;
};

// A dash pattern in paper millimetres: dashes positive, gaps negative; empty for a solid line.
struct TLineType {
    std::string name;         // unique within the drawing
    std::string description;
    std::vector<double> pattern;
};

// A font a text names, and the font file Windows has for it.
struct TFont {
    std::string name;
    std::string file;
};

struct TDrawing {
    double scale = 1;  // model millimetres per paper millimetre
    std::array<TLayer, jw::kLayerCount> layers{};
    std::vector<TLineType> lineTypes{{"Continuous", "Solid line", {}}};
    std::vector<TFont> fonts;  // names as the drawing writes them
    std::deque<TBlock> blocks;  // a deque: a block being filled stays where it is as others are added
    TEntities model;
    // The dimensions' value text height, paper millimetres (the first dimension's), for the
    // style a CAD program draws them again with.
    double dimensionTextHeight = 2.5;
    // The point markers: a DXF point display mode and its size in model millimetres.
    int32_t pointMode = 0;
    double pointSize = 0;
};

}  // namespace drawing
