#include <cmath>

#include "figures/Primitives.h"
#include "figures/PrimitivesEmit.h"

using primitives::EmitLine;
using primitives::EmitTriangle;
using primitives::TOutPoint;

namespace {

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

void AddPointMarker(TConversionContext& ctx, TPen pen, double scale, double x, double y)
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
        EmitLine(store, pen, left, right);
        EmitLine(store, pen, top, bottom);
        break;
    case kMarkerCross:
        EmitLine(store, pen, lowLeft, upRight);
        EmitLine(store, pen, upLeft, lowRight);
        break;
    case kMarkerSquare:
        EmitLine(store, pen, lowLeft, lowRight);
        EmitLine(store, pen, lowRight, upRight);
        EmitLine(store, pen, upRight, upLeft);
        EmitLine(store, pen, upLeft, lowLeft);
        break;
    case kMarkerDiamond:
        EmitLine(store, pen, left, bottom);
        EmitLine(store, pen, bottom, right);
        EmitLine(store, pen, right, top);
        EmitLine(store, pen, top, left);
        break;
    case kMarkerCircle:
        AddArcLines(ctx, pen, scale, {x, y, h, 1, 0, 0, kFullTurn});
        break;
    case kMarkerFilledSquare:
        EmitTriangle(store, pen, lowLeft, lowRight, upRight);
        EmitTriangle(store, pen, lowLeft, upRight, upLeft);
        break;
    case kMarkerFilledDiamond:
        EmitTriangle(store, pen, left, bottom, right);
        EmitTriangle(store, pen, left, right, top);
        break;
    case kMarkerFilledCircle:
        AddSectorFan(ctx, pen, scale, {x, y, h, 1, 0, 0, kFullTurn});
        break;
    default:  // no shape chosen
        break;
    }
}
