#pragma once
// An elliptic arc as one value. The point for parameter t is
// (x, y) + R(tilt) (radius cos t, radius flatness sin t); start and sweep are parameters.
#include <optional>

#include "util/DrawingFacts.h"

// A whole turn, as the sweep of a whole ellipse.
inline constexpr double kFullTurn = static_cast<double>(2 * jw::kPi);

struct TEllipticArc {
    double x = 0, y = 0;    // centre
    double radius = 0;      // first semi-axis
    double flatness = 1;    // second semi-axis / first
    double tilt = 0;        // turn of the first axis, radians counter-clockwise from +x
    double start = 0;       // parameter of the first point, radians
    double sweep = 0;       // signed parameter span, radians
};

// The arc's whole ellipse: from parameter 0 through a full turn.
inline TEllipticArc WholeEllipse(TEllipticArc arc)
{
    arc.start = 0;
    arc.sweep = kFullTurn;
    return arc;
}

// The arc of an older drawing, given by angles in degrees and always running counter-clockwise
// from start to end. Equal angles (or a whole turn between them) give the whole ellipse from
// parameter 0; a span that is no finite number gives nothing.
std::optional<TEllipticArc> ArcFromDegrees(double x, double y, double radius, double flatness, double tiltDeg,
                                           double startDeg, double endDeg);
