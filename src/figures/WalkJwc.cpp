#include "figures/Walkers.h"
#include "formats/jwc/jwcunit.h"

// Placeholder until the JWC walker lands: the palette is filled, no Figure is drawn.
void WalkJwc(TJwcData& data, TConversionContext& context)
{
    (void)data;
    context.Store.ResetPalette(context.Attributes);
    context.Store.ClearFigures();
}
