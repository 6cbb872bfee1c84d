#pragma once
// The tests every walker applies before it draws an entity: hidden layers, the auxiliary
// line type, and the attribute bits (dimension, hatching) that the options can leave out.
#include "figures/ConversionContext.h"

namespace skip_rules {

constexpr int kAuxiliaryLineType = 9;

inline bool HiddenLayer(const TConversionContext& ctx, int layer)
{
    return !ctx.Options.Include.HiddenLayers && ctx.Attributes.LayerState(layer) == TgraAttribute::kHiddenState;
}

inline bool AuxiliaryLineType(const TConversionOptions& o, int lineType)
{
    return !o.Include.Auxiliary && lineType == kAuxiliaryLineType;
}

// An attribute bit leaves the entity out when its kind is not included.
inline bool FlagBit(bool included, int flags, int bit) { return !included && (flags & bit) != 0; }

}  // namespace skip_rules
