#pragma once
// Shared by the primitive implementations: scaled output points and the hand-over to the
// figure store, which refuses Figures whose coordinates are not finite numbers.
#include <cmath>
#include <cstdint>

#include "figures/FigUnit.h"
#include "figures/Pen.h"

namespace primitives {

struct TOutPoint {
    double x = 0, y = 0;
};

inline bool IsFinitePoint(const TOutPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// A drawing-unit point multiplied by the primitive's scale.
inline TOutPoint Scaled(double x, double y, double scale)
{
    return {x * scale, y * scale};
}

inline void EmitLine(TFigureStore& store, TPen pen, const TOutPoint& a, const TOutPoint& b)
{
    if (!IsFinitePoint(a) || !IsFinitePoint(b)) return;
    store.AddLine(pen.layer, pen.color, a.x, a.y, b.x, b.y);
}

inline void EmitTriangle(TFigureStore& store, TPen pen, const TOutPoint& a,
                         const TOutPoint& b, const TOutPoint& c)
{
    if (!IsFinitePoint(a) || !IsFinitePoint(b) || !IsFinitePoint(c)) return;
    store.AddTriangle(pen.layer, pen.color, a.x, a.y, b.x, b.y, c.x, c.y);
}

inline void EmitQuad(TFigureStore& store, TPen pen, const TOutPoint& a, const TOutPoint& b,
                     const TOutPoint& c, const TOutPoint& d)
{
    if (!IsFinitePoint(a) || !IsFinitePoint(b) || !IsFinitePoint(c) || !IsFinitePoint(d)) return;
    store.AddQuad(pen.layer, pen.color, a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y);
}

}  // namespace primitives
