#pragma once
// One walker per format: turns a loaded file's entities into Figures in the store.
#include "figures/ConversionContext.h"

class TJwwData;
class TJwsData;
class TJwcData;
class TJwkData;

void WalkJww(TJwwData& data, TConversionContext& context);
void WalkJws(TJwsData& data, TConversionContext& context);
void WalkJwc(TJwcData& data, TConversionContext& context);
void WalkJwk(TJwkData& data, TConversionContext& context);
