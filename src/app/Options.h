#pragma once
// Reading the controls into the conversion options at the start of a batch: every number
// is clamped into its range and the clamped value is written back into its edit text, so
// the window always shows what the batch used.
#include "app/ControlsState.h"
#include "figures/ConversionContext.h"

// Fills `options` and `coordinateScale` from `controls` and rewrites Edit2..Edit7 with the
// clamped values. The destination radio buttons and Edit1 are left to the driver.
void ReadOptions(TControlsState& controls, TConversionOptions& options, double& coordinateScale);

// The coordinate factor of a ComboBox1 item index: 1, 10, 100, 1000; 1 for anything else.
double CoordinateScaleOf(int32_t itemIndex);
