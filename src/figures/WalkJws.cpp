#include "figures/Walkers.h"
#include "formats/jws/jwsunit.h"

// Placeholder until the JWS walker lands: the palette is filled, no Figure is drawn.
void WalkJws(TJwsData& data, TConversionContext& context)
{
    (void)data;
    context.Store.ResetPalette(context.Attributes);
    context.Store.ClearFigures();
}
