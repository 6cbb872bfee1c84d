#pragma once
// Elliptic arcs in the form DXF keeps them: a first (major) axis as a vector, a ratio of the
// minor axis to it in (0, 1], start and sweep as parameters on that axis; and the box that
// holds the entities, for the header's extents.
#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/EllipticArc.h"

struct TDxfEllipse {
    double x = 0, y = 0;          // centre
    double axisX = 0, axisY = 0;  // major axis end, from the centre
    double ratio = 1;
    double start = 0, sweep = 0;  // radians; sweep signed as the arc runs
};

// The same points at the same parameters' order: a negative radius or flatness folded into
// the parameters, a flatness above 1 turned into a ratio below 1 on the other axis.
TDxfEllipse DxfEllipseOf(TEllipticArc arc);

// A parameter or angle in [0, 2 pi).
double NormalAngle(double radians);

struct TBox {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;

    bool Empty() const { return !(minX <= maxX); }
    void Add(double x, double y)
    {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    void Add(const TBox& b)
    {
        if (!b.Empty()) Add(b.minX, b.minY), Add(b.maxX, b.maxY);
    }
};
