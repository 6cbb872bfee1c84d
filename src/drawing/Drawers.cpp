#include "drawing/Drawers.h"

#include "drawing/DrawingFromJww.h"
#include "drawing/DrawingFromOldFormat.h"
#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"

void DrawJww(TJwwData& data, TConversionContext& context) { DrawJwwModel(data, &data, data.DrawingScale(), context); }
void DrawJws(TJwsData& data, TConversionContext& context) { DrawJwwModel(data, nullptr, data.DrawingScale(), context); }
void DrawJwc(TJwcData& data, TConversionContext& context)
{
    drawing::DrawOldFormat(data, data.DrawingScale(), context);
}
void DrawJwk(TJwkData& data, TConversionContext& context)
{
    drawing::DrawOldFormat(data, data.DrawingScale(), context);
}
