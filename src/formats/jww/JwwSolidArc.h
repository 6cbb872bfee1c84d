#pragma once
// What an arc-shaped solid (line type above jw::kPolygonSolidMax) stands for. Its fields
// hold centre (x1, y1), radius x2, flatness y2, tilt x3, start y3 and sweep x4; y4 is a code
// for the outline and the sector-like fills and the second radius for rings. The block
// expansion and the walker both read solids through DecodeSolidArc.
#include "formats/jww/jwwtype.h"
#include "geometry/EllipticArc.h"

enum class ESolidArcShape {
    Outline,     // 111: the arc's line
    Sector,      // 101, y4 0 or 100: a fan from the centre
    SegmentFan,  // 101, y4 5: the region between the arc and its chord
    CornerFan,   // 101, any other y4: the region between the arc and its end tangents
    Ring,        // 105, 106 and any other code: between the arc and a second ellipse
};

// The precision of the second flatness formula. The walker evaluates it in double, the block
// expansion in long double; each keeps its own so the converted documents stay as they are.
enum class EFlatnessPrecision { Double, Extended };

struct TSolidArc {
    ESolidArcShape shape = ESolidArcShape::Outline;
    bool whole = false;       // the code marks the whole ellipse (101 with y4 100, 111 with y4 not 0)
    TEllipticArc arc;         // the first ellipse, angles as stored
    double secondRadius = 0;  // Ring: y4
    // Ring: 105 keeps the first flatness; the other codes derive it so the minor semi-axes
    // differ by as much as the major ones, and give 0 without a second radius (y4 = 0). Not
    // limited: it may be 0, negative or not a number, and each reader decides what that draws.
    double secondFlatness = 0;
};

// The record's arc shape; codes are compared on the integer part of y4, whatever its value.
TSolidArc DecodeSolidArc(const TEntJwwSolid& solid, EFlatnessPrecision precision);
