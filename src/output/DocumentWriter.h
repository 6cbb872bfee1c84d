#pragma once
// The figure store written in the format its options choose (COLLADA, compact COLLADA or
// binary glTF), or the drawing as DXF, into a sink; true when the whole document went in.
#include "figures/ConversionContext.h"
#include "util/ByteSink.h"

[[nodiscard]] bool WriteDocument(const TConversionContext& context, TByteSink& document);
