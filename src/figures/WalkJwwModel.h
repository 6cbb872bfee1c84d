#pragma once
// The walk of the JWW entity lists, shared by JWW drawings and JWS figure files: both carry
// the same records, layer numbering, pen numbers and skip rules, and differ only in where the
// lists and the drawing scale come from.
#include <cstdint>

#include "figures/ConversionContext.h"
#include "util/DrawingFacts.h"

class TJwwEntityModel;

// Fills the palette with the pen colours and the fill colours of pen-10 solids, expands the
// blocks, empties the store, then adds the Figures of lines, dimensions, arcs, points and
// solids (in that order), every coordinate multiplied by `scale`. Consumes the model's block
// definitions and placements; texts are never converted.
void WalkJwwModel(TJwwEntityModel& model, double scale, TConversionContext& context);

// Palette index of a pen number: extended pens 101..356 take their place in the 265 pen
// colours (index = entry + 1: 10..265), every other number is used as it stands.
constexpr int32_t JwwPaletteIndex(int32_t pen) { return jw::IsExtendedPen(pen) ? jw::PenColorEntry(pen) + 1 : pen; }

// Layer number 0..255 of an entity: group * 16 + layer within the group.
constexpr int32_t JwwLayerNumber(int32_t layerGroup, int32_t layer) { return layerGroup * 16 + layer; }
