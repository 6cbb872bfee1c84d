#pragma once
// Shared by the primitive implementations: scaled output points and the hand-over to the
// figure store, which refuses Figures whose coordinates are not finite numbers or lie beyond
// the store's coordinate limit (absurd magnitudes would only make long, useless numbers).
#include <cmath>
#include <cstdint>

#include "figures/FigUnit.h"
#include "figures/Pen.h"

namespace primitives {

struct TOutPoint {
    double x = 0, y = 0;
};

inline bool Drawable(const TFigureStore& store, const TOutPoint& p)
{
    return std::fabs(p.x) <= store.CoordinateLimit && std::fabs(p.y) <= store.CoordinateLimit;  // false for NaN
}

// A drawing-unit point multiplied by the primitive's scale.
inline TOutPoint Scaled(double x, double y, double scale)
{
    return {x * scale, y * scale};
}

inline void EmitLine(TFigureStore& store, TPen pen, const TOutPoint& a, const TOutPoint& b)
{
    if (!Drawable(store, a) || !Drawable(store, b)) return;
    store.AddLine(pen.layer, pen.color, a.x, a.y, b.x, b.y);
}

inline void EmitTriangle(TFigureStore& store, TPen pen, const TOutPoint& a,
                         const TOutPoint& b, const TOutPoint& c)
{
    if (!Drawable(store, a) || !Drawable(store, b) || !Drawable(store, c)) return;
    store.AddTriangle(pen.layer, pen.color, a.x, a.y, b.x, b.y, c.x, c.y);
}

inline void EmitQuad(TFigureStore& store, TPen pen, const TOutPoint& a, const TOutPoint& b,
                     const TOutPoint& c, const TOutPoint& d)
{
    if (!Drawable(store, a) || !Drawable(store, b) || !Drawable(store, c) || !Drawable(store, d)) return;
    store.AddQuad(pen.layer, pen.color, a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y);
}

}  // namespace primitives
