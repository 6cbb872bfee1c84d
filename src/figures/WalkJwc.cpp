#include "figures/WalkJwcFamily.h"
#include "figures/Walkers.h"
#include "formats/jwc/jwcunit.h"

void WalkJwc(TJwcData& data, TConversionContext& context)
{
    walk_detail::WalkOldFormat(data, data.DrawingScale(), context);
}
