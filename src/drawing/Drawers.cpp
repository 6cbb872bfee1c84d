#include "drawing/Drawers.h"

#include "drawing/DrawingFromJww.h"
#include "drawing/DrawingFromOldFormat.h"
#include "drawing/DrawingHeights.h"
#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"

// Each drawing is built, then its heights (when asked for) lift its lines.
void DrawJww(TJwwData& data, TConversionContext& context)
{
    DrawJwwModel(data, &data, data.DrawingScale(), context);
    drawing::LiftDrawingHeights(context);
}
void DrawJws(TJwsData& data, TConversionContext& context)
{
    DrawJwwModel(data, nullptr, data.DrawingScale(), context);
    drawing::LiftDrawingHeights(context);
}
void DrawJwc(TJwcData& data, TConversionContext& context)
{
    drawing::DrawOldFormat(data, data.DrawingScale(), context);
    drawing::LiftDrawingHeights(context);
}
void DrawJwk(TJwkData& data, TConversionContext& context)
{
    drawing::DrawOldFormat(data, data.DrawingScale(), context);
    drawing::LiftDrawingHeights(context);
}
