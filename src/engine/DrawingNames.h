#pragma once
// The layer group and layer names a drawing's header holds (JWW and JWC files), turned from
// Shift_JIS into UTF-8 for the documents that name their nodes. A name the reader did not
// reach stays empty.
#include "figures/ConversionContext.h"

class TJwwData;
class TJwcData;

void ReadDrawingNames(const TJwwData& data, TDrawingNames& names);
void ReadDrawingNames(const TJwcData& data, TDrawingNames& names);
// Figure files and symbol files have no names.
template <class Data> void ReadDrawingNames(const Data&, TDrawingNames&) {}
