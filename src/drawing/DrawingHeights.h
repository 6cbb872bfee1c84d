#pragma once
// The drawing's heights for the CAD documents: in model space and in each block definition,
// the lines the height texts mark (or whose layer is raised) become 3D lines and faces.
#include "figures/ConversionContext.h"

namespace drawing {

// Lifts the lines of context.Drawing by the options' heights; context.Heights ends holding
// the count of height texts out of range. Nothing changes when neither option is given.
void LiftDrawingHeights(TConversionContext& context);

}  // namespace drawing
