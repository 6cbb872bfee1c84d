#include "app/Options.h"

#include <algorithm>
#include <string>

#include "util/Func_.h"

namespace {

constexpr long double kPi = 3.1415926535897932385L;

double ClampMarkerSize(double size) { return std::clamp(size == 0 ? 1.0 : size, 0.00001, 10000.0); }
int32_t ClampDivisions(int32_t count) { return std::clamp(count, 3, 3600); }
double ClampAngle(double degrees) { return std::clamp(degrees, 0.1, 90.0); }
double ClampLength(double millimetres) { return std::clamp(millimetres, 0.001, 1000.0); }

// Parses an edit text as a division count, clamps it and writes the result back.
int32_t ReadDivisions(std::string& text)
{
    const int32_t count = ClampDivisions(StrToIntDef0(text));
    text = std::to_string(count);
    return count;
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

    options.PointMarkerSize = ClampMarkerSize(static_cast<double>(StrToFloatDef0(controls.Edit2)));
    controls.Edit2 = FloatToText(options.PointMarkerSize);

    options.ArcMode = 0;
    if (controls.RadioButton6) options.ArcMode = 1;
    if (controls.RadioButton7) options.ArcMode = 2;

    options.ArcDivisions = ReadDivisions(controls.Edit3);
    options.ArcAngleMinDivisions = ReadDivisions(controls.Edit5);
    options.ArcLengthMinDivisions = ReadDivisions(controls.Edit7);

    const double angleDegrees = ClampAngle(static_cast<double>(StrToFloatDef0(controls.Edit4)));
    options.ArcLength = ClampLength(static_cast<double>(StrToFloatDef0(controls.Edit6)));
    controls.Edit4 = FloatToText(angleDegrees);
    controls.Edit6 = FloatToText(options.ArcLength);

    // The edit box shows degrees; the walkers take radians, converted last.
    options.ArcAngle = static_cast<double>(static_cast<long double>(angleDegrees) / 180.0L * kPi);
}
