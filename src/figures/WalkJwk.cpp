#include "figures/Walkers.h"
#include "formats/jwk/jwkunit.h"

// Placeholder until the JWK walker lands: the palette is filled, no Figure is drawn.
void WalkJwk(TJwkData& data, TConversionContext& context)
{
    (void)data;
    context.Store.ResetPalette(context.Attributes);
    context.Store.ClearFigures();
}
