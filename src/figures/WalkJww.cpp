#include "figures/Walkers.h"
#include "formats/jww/jwwunit.h"

// Placeholder until the JWW walker lands: the palette is filled, no Figure is drawn.
void WalkJww(TJwwData& data, TConversionContext& context)
{
    (void)data;
    context.Store.ResetPalette(context.Attributes);
    context.Store.ClearFigures();
}
