#include "app/ControlsOverrides.h"

namespace {

template <typename T> void Apply(const std::optional<T>& value, T& control)
{
    if (value) control = *value;
}

}  // namespace

void TControlsOverrides::ApplyTo(TControlsState& c) const
{
    if (Destination) {
        c.RadioButton1 = *Destination == TDestination::Desktop;
        c.RadioButton2 = *Destination == TDestination::MyDocuments;
        c.RadioButton3 = *Destination == TDestination::SourceFolder;
        c.RadioButton4 = *Destination == TDestination::GivenFolder;
    }
    Apply(Folder, c.Edit1);
    Apply(ScaleItemIndex, c.ComboBox1ItemIndex);
    Apply(MarkerItemIndex, c.ComboBox2ItemIndex);
    Apply(MarkerSize, c.Edit2);
    if (ArcMode) {
        c.RadioButton5 = *ArcMode == 0;
        c.RadioButton6 = *ArcMode == 1;
        c.RadioButton7 = *ArcMode == 2;
    }
    Apply(ArcDivisions, c.Edit3);
    Apply(ArcAngle, c.Edit4);
    Apply(ArcAngleMinDivisions, c.Edit5);
    Apply(ArcLength, c.Edit6);
    Apply(ArcLengthMinDivisions, c.Edit7);
    bool* const boxes[6] = {&c.CheckBox1, &c.CheckBox2, &c.CheckBox3, &c.CheckBox4, &c.CheckBox5, &c.CheckBox6};
    for (size_t i = 0; i < Include.size(); ++i) Apply(Include[i], *boxes[i]);
}
