#include "figures/WalkJwwModel.h"
#include "figures/Walkers.h"
#include "formats/jws/jwsunit.h"

// A figure file carries the records of a drawing, so it is walked like one, in the scale of
// its layer group 0.
void WalkJws(TJwsData& data, TConversionContext& context)
{
    WalkJwwModel(data, data.DrawingScale(), context);
}
