#include "app/Options.h"

#include <string>

#include "app/ControlsTable.h"

namespace {

constexpr long double kPi = 3.1415926535897932385L;

// Clamps an edit box by its entry of the controls table, shows the clamped value, answers it.
double Clamped(TControlsState& controls, std::string TControlsState::*edit)
{
    return ClampInPlace(*EntryOf(edit), controls);
}

int32_t ClampedCount(TControlsState& controls, std::string TControlsState::*edit)
{
    return static_cast<int32_t>(Clamped(controls, edit));
}

}  // namespace

double CoordinateScaleOf(int32_t itemIndex)
{
    switch (itemIndex) {
    case 1: return 10.0;
    case 2: return 100.0;
    case 3: return 1000.0;
    default: return 1.0;
    }
}

void ReadOptions(TControlsState& controls, TConversionOptions& options, double& coordinateScale)
{
    options.IncludeHiddenLayers = controls.CheckBox1;
    options.IncludeAuxiliary = controls.CheckBox2;
    options.IncludeDimensions = controls.CheckBox3;
    options.IncludeHatching = controls.CheckBox4;
    options.IncludePoints = controls.CheckBox5;
    options.IncludeSolids = controls.CheckBox6;

    coordinateScale = CoordinateScaleOf(controls.ComboBox1ItemIndex);

    // No range test: an index the list does not hold draws no marker.
    options.PointMarkerShape = controls.ComboBox2ItemIndex;

    options.PointMarkerSize = Clamped(controls, &TControlsState::Edit2);

    options.ArcMode = 0;
    if (controls.RadioButton6) options.ArcMode = 1;
    if (controls.RadioButton7) options.ArcMode = 2;

    options.ArcDivisions = ClampedCount(controls, &TControlsState::Edit3);
    options.ArcAngleMinDivisions = ClampedCount(controls, &TControlsState::Edit5);
    options.ArcLengthMinDivisions = ClampedCount(controls, &TControlsState::Edit7);

    const double angleDegrees = Clamped(controls, &TControlsState::Edit4);
    options.ArcLength = Clamped(controls, &TControlsState::Edit6);

    // A group with no button checked (a settings line out of range) writes the default document.
    switch (controls.OutputFormat) {
    case 1: options.Format = TOutputFormat::DaeCompact; break;
    case 2: options.Format = TOutputFormat::Glb; break;
    default: options.Format = TOutputFormat::Dae; break;
    }

    // The edit box shows degrees; the walkers take radians, converted last.
    options.ArcAngle = static_cast<double>(static_cast<long double>(angleDegrees) / 180.0L * kPi);
}
