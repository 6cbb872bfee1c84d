#pragma once
// One conversion per format into the drawing (TConversionContext::Drawing), beside the
// walkers into Figures; the CAD documents are written from it.
#include "figures/ConversionContext.h"

class TJwwData;
class TJwsData;
class TJwcData;
class TJwkData;

void DrawJww(TJwwData& data, TConversionContext& context);
void DrawJws(TJwsData& data, TConversionContext& context);
void DrawJwc(TJwcData& data, TConversionContext& context);
void DrawJwk(TJwkData& data, TConversionContext& context);
