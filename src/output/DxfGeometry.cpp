#include "output/DxfGeometry.h"

#include "util/DrawingFacts.h"

namespace {

constexpr double kMinRatio = 1e-9;  // DXF needs a ratio above 0: a flat ellipse keeps a trace of width

}  // namespace

double NormalAngle(double radians)
{
    const double turn = static_cast<double>(2 * jw::kPi);
    double a = std::fmod(radians, turn);
    if (a < 0) a += turn;
    return a >= turn ? 0 : a;
}

TDxfEllipse DxfEllipseOf(TEllipticArc arc)
{
    const double half = static_cast<double>(jw::kPi / 2);
    if (arc.radius < 0) {
        arc.radius = -arc.radius;
        arc.start += 2 * half;
    }
    if (arc.flatness < 0) {
        arc.flatness = -arc.flatness;
        arc.start = -arc.start;
        arc.sweep = -arc.sweep;
    }
    double tilt = arc.tilt, radius = arc.radius, ratio = arc.flatness;
    if (ratio > 1) {
        radius *= ratio;
        ratio = 1 / ratio;
        tilt += half;
        arc.start -= half;
    }
    TDxfEllipse e;
    e.x = arc.x;
    e.y = arc.y;
    e.axisX = radius * std::cos(tilt);
    e.axisY = radius * std::sin(tilt);
    e.ratio = std::clamp(ratio, kMinRatio, 1.0);
    e.start = arc.start;
    e.sweep = arc.sweep;
    return e;
}
