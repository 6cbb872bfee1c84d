#include <cmath>

#include "figures/Primitives.h"
#include "figures/PrimitivesEmit.h"

using primitives::EmitLine;
using primitives::EmitTriangle;
using primitives::TOutPoint;

namespace {

constexpr long double kPi = 3.1415926535897932385L;

enum : int32_t {
    kMarkerPlus = 0,
    kMarkerCross = 1,
    kMarkerSquare = 2,
    kMarkerDiamond = 3,
    kMarkerCircle = 4,
    kMarkerFilledSquare = 5,
    kMarkerFilledDiamond = 6,
    kMarkerFilledCircle = 7,
};

}  // namespace

void AddPointMarker(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double x, double y)
{
    const double h = ctx.Options.PointMarkerSize * 0.5;
    // Centre and half size scaled alike, so the marker measures its paper size times scale.
    const double sx = x * scale, sy = y * scale, sh = h * scale;
    const TOutPoint left{sx - sh, sy}, right{sx + sh, sy}, top{sx, sy + sh}, bottom{sx, sy - sh};
    const TOutPoint lowLeft{sx - sh, sy - sh}, lowRight{sx + sh, sy - sh};
    const TOutPoint upRight{sx + sh, sy + sh}, upLeft{sx - sh, sy + sh};
    TFigureStore& store = ctx.Store;

    switch (ctx.Options.PointMarkerShape) {
    case kMarkerPlus:
        EmitLine(store, layer, color, left, right);
        EmitLine(store, layer, color, top, bottom);
        break;
    case kMarkerCross:
        EmitLine(store, layer, color, lowLeft, upRight);
        EmitLine(store, layer, color, upLeft, lowRight);
        break;
    case kMarkerSquare:
        EmitLine(store, layer, color, lowLeft, lowRight);
        EmitLine(store, layer, color, lowRight, upRight);
        EmitLine(store, layer, color, upRight, upLeft);
        EmitLine(store, layer, color, upLeft, lowLeft);
        break;
    case kMarkerDiamond:
        EmitLine(store, layer, color, left, bottom);
        EmitLine(store, layer, color, bottom, right);
        EmitLine(store, layer, color, right, top);
        EmitLine(store, layer, color, top, left);
        break;
    case kMarkerCircle:
        AddArcLines(ctx, layer, color, scale, x, y, h, 1, 0, 0, static_cast<double>(2 * kPi));
        break;
    case kMarkerFilledSquare:
        EmitTriangle(store, layer, color, lowLeft, lowRight, upRight);
        EmitTriangle(store, layer, color, lowLeft, upRight, upLeft);
        break;
    case kMarkerFilledDiamond:
        EmitTriangle(store, layer, color, left, bottom, right);
        EmitTriangle(store, layer, color, left, right, top);
        break;
    case kMarkerFilledCircle:
        AddSectorFan(ctx, layer, color, scale, x, y, h, 1, 0, 0, static_cast<double>(2 * kPi));
        break;
    default:  // no shape chosen
        break;
    }
}
