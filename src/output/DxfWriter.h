#pragma once
// The drawing (TConversionContext::Drawing) as an ASCII DXF file of AutoCAD 2010 (AC1024):
// the header, the classes, every table, the blocks, the entities and the objects AutoCAD
// needs, texts and names in UTF-8, model space in millimetres; true when the whole document
// went into the sink.
#include "figures/ConversionContext.h"
#include "util/ByteSink.h"

[[nodiscard]] bool WriteDxf(const TConversionContext& context, TByteSink& document);
