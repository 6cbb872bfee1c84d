#include "formats/jww/JwwSolidArc.h"

#include <cmath>

#include "formats/jww/JwwArcFields.h"
#include "util/DrawingFacts.h"

namespace {

// The flatness f2 of the second ellipse (radius r2) whose minor semi-axis differs from the
// first's by as much as the major ones differ: r2 f2 - r1 f1 = r2 - r1.
template <typename Real>
double DerivedFlatness(Real radius, Real flatness, Real secondRadius)
{
    return static_cast<double>((radius * flatness - radius) / secondRadius + 1);
}

ESolidArcShape SectorShape(double code)
{
    if (code == 100 || code == 0) return ESolidArcShape::Sector;
    return code == 5 ? ESolidArcShape::SegmentFan : ESolidArcShape::CornerFan;
}

double RingSecondFlatness(const TEntJwwSolid& s, EFlatnessPrecision precision)
{
    if (s.common.lineType == jw::kSolidRing) return s.y2;
    // Without a second radius the formula would divide by zero.
    if (s.y4 == 0) return 0;
    if (precision == EFlatnessPrecision::Extended)
        return DerivedFlatness<long double>(s.x2, s.y2, s.y4);
    return DerivedFlatness<double>(s.x2, s.y2, s.y4);
}

}  // namespace

TSolidArc DecodeSolidArc(const TEntJwwSolid& s, EFlatnessPrecision precision)
{
    TSolidArc d;
    d.arc = ArcOf(s, kSolidArcFields);
    const double code = std::trunc(s.y4);
    switch (s.common.lineType) {
    case jw::kSolidArcOutline:
        d.shape = ESolidArcShape::Outline;
        d.whole = code != 0;
        break;
    case jw::kSolidSector:
        d.shape = SectorShape(code);
        d.whole = code == 100;
        break;
    default:
        d.shape = ESolidArcShape::Ring;
        d.secondRadius = s.y4;
        d.secondFlatness = RingSecondFlatness(s, precision);
        break;
    }
    return d;
}
