#include "figures/WalkJwwModel.h"
#include "figures/Walkers.h"
#include "formats/jww/jwwunit.h"

// Every entity of the drawing is measured in the scale of layer group 0, whatever its group.
void WalkJww(TJwwData& data, TConversionContext& context)
{
    WalkJwwModel(data, data.DrawingScale(), context);
}
