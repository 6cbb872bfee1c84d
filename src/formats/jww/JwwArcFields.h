#pragma once
// Where an arc record and an arc-shaped solid keep the seven values of an elliptic arc, in
// the value's order: centre x, centre y, radius, flatness, tilt, start, sweep.
#include <array>

#include "formats/jww/jwwtype.h"
#include "geometry/EllipticArc.h"

template <typename Record>
using TArcFields = std::array<double Record::*, 7>;

inline constexpr TArcFields<TEntJwwEnko> kArcRecordFields{
    &TEntJwwEnko::centerX, &TEntJwwEnko::centerY,    &TEntJwwEnko::radius,  &TEntJwwEnko::flatness,
    &TEntJwwEnko::tiltAngle, &TEntJwwEnko::startAngle, &TEntJwwEnko::arcAngle};
inline constexpr TArcFields<TEntJwwSolid> kSolidArcFields{&TEntJwwSolid::x1, &TEntJwwSolid::y1, &TEntJwwSolid::x2,
                                                          &TEntJwwSolid::y2, &TEntJwwSolid::x3, &TEntJwwSolid::y3,
                                                          &TEntJwwSolid::x4};

template <typename Record>
TEllipticArc ArcOf(const Record& r, const TArcFields<Record>& f)
{
    return {r.*f[0], r.*f[1], r.*f[2], r.*f[3], r.*f[4], r.*f[5], r.*f[6]};
}

template <typename Record>
void StoreArc(Record& r, const TArcFields<Record>& f, const TEllipticArc& a)
{
    const std::array<double, 7> values{a.x, a.y, a.radius, a.flatness, a.tilt, a.start, a.sweep};
    for (size_t i = 0; i < f.size(); ++i) r.*f[i] = values[i];
}
