#include "geometry/EllipticArc.h"

#include <cmath>

using Ext = long double;

std::optional<TEllipticArc> ArcFromDegrees(double x, double y, double radius, double flatness, double tiltDeg,
                                           double startDeg, double endDeg)
{
    double d = static_cast<double>(static_cast<Ext>(endDeg) - startDeg);
    if (!std::isfinite(d)) return std::nullopt;
    // Whole turns of a huge span are removed exactly first, so the folding below stays short.
    if (std::fabs(d) > 1e6) d = std::fmod(d, 360.0);
    while (d < 0) d = static_cast<double>(d + 360.0L);
    while (d > 360) d = static_cast<double>(d - 360.0L);

    TEllipticArc arc{x, y, radius, flatness, static_cast<double>(tiltDeg / 180.0L * jw::kPi), 0, kFullTurn};
    if (!(std::fabs(d) < 1e-12 || std::fabs(d - 360.0) < 1e-12)) {
        arc.start = static_cast<double>(startDeg / 180.0L * jw::kPi);
        arc.sweep = static_cast<double>(d / 180.0L * jw::kPi);
    }
    return arc;
}
