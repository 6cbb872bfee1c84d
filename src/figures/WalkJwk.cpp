#include "figures/WalkJwcFamily.h"
#include "figures/Walkers.h"
#include "formats/jwk/jwkunit.h"

// Symbol files carry no drawing scale: coordinates are taken as they stand.
void WalkJwk(TJwkData& data, TConversionContext& context)
{
    walk_detail::WalkOldFormat(data, data.DrawingScale(), context);
}
