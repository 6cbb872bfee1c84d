#include "app/ControlsTable.h"

#include <algorithm>
#include <utility>

#include "util/Func_.h"

std::string TextOf(const TControlEntry& entry, const TControlsState& controls)
{
    switch (entry.Kind) {
    case TControlKind::Placement:
    case TControlKind::Item:
    case TControlKind::Choice: return std::to_string(controls.*entry.Int);
    case TControlKind::Flag:
    case TControlKind::Radio: return FlagToStr(controls.*entry.Bool);
    case TControlKind::Text:
    case TControlKind::Count:
    case TControlKind::Number: break;
    }
    return controls.*entry.Text;
}

void SetFromText(const TControlEntry& entry, TControlsState& controls, std::string_view text)
{
    switch (entry.Kind) {
    case TControlKind::Placement: controls.*entry.Int = StrToIntDef0(text); return;
    case TControlKind::Item:
    case TControlKind::Choice: {
        const int32_t index = StrToIntDef0(text);
        controls.*entry.Int = (index >= 0 && index < entry.ItemCount) ? index : -1;
        return;
    }
    case TControlKind::Flag: controls.*entry.Bool = StrToFlag(text); return;
    case TControlKind::Radio: {
        const bool on = StrToFlag(text);
        if (on) {
            for (const TControlEntry& other : kControlsTable) {
                if (other.Kind == TControlKind::Radio && other.Group == entry.Group) controls.*other.Bool = false;
            }
        }
        controls.*entry.Bool = on;
        return;
    }
    case TControlKind::Text:
    case TControlKind::Count:
    case TControlKind::Number: controls.*entry.Text = std::string(text); return;
    }
}

std::string NormalisedText(const TControlEntry& entry, std::string_view text)
{
    if (entry.Kind == TControlKind::Count) return std::to_string(StrToIntDef0(text));
    if (entry.Kind == TControlKind::Number) return FloatToText(static_cast<double>(StrToFloatDef0(text)));
    return std::string(text);
}

TOptionRequest RequestOf(const TControlsState& c)
{
    TOptionRequest r;
    r.Include.HiddenLayers = c.CheckBox1;
    r.Include.Auxiliary = c.CheckBox2;
    r.Include.Dimensions = c.CheckBox3;
    r.Include.Hatching = c.CheckBox4;
    r.Include.Points = c.CheckBox5;
    r.Include.Solids = c.CheckBox6;
    r.Include.Texts = c.CheckBox7;
    r.Heights = c.CheckBox8 ? THeightUnit::Metres : THeightUnit::Off;
    r.ScaleItem = c.ComboBox1ItemIndex;
    r.MarkerShape = c.ComboBox2ItemIndex;
    r.MarkerSize = c.Edit2;
    r.ArcMode = c.RadioButton7 ? TArcMode::ByLength : c.RadioButton6 ? TArcMode::ByAngle : TArcMode::ByCount;
    r.ArcDivisions = c.Edit3;
    r.ArcAngle = c.Edit4;
    r.ArcAngleMinDivisions = c.Edit5;
    r.ArcLength = c.Edit6;
    r.ArcLengthMinDivisions = c.Edit7;
    switch (c.OutputFormat) {
    case 1: r.Format = TOutputFormat::DaeCompact; break;
    case 2: r.Format = TOutputFormat::Glb; break;
    case 3: r.Format = TOutputFormat::Dxf; break;  // with the texts: the check box draws their outlines
    default: r.Format = TOutputFormat::Dae; break;
    }
    return r;
}

TDestination DestinationOf(const TControlsState& c)
{
    using K = TDestination::TKind;
    if (c.RadioButton1) return {K::Desktop, {}};
    if (c.RadioButton2) return {K::MyDocuments, {}};
    if (c.RadioButton3) return {K::BesideInput, {}};
    return {K::GivenFolder, c.Edit1};
}

void ShowClampedNumbers(TControlsState& controls, const TOptionRequest* used)
{
    using S = TControlsState;
    using R = TOptionRequest;
    static constexpr std::pair<std::string S::*, std::string R::*> kBoxes[] = {
        {&S::Edit2, &R::MarkerSize},   {&S::Edit3, &R::ArcDivisions}, {&S::Edit4, &R::ArcAngle},
        {&S::Edit5, &R::ArcAngleMinDivisions}, {&S::Edit6, &R::ArcLength}, {&S::Edit7, &R::ArcLengthMinDivisions},
    };
    for (const auto& [box, number] : kBoxes) {
        std::string& text = controls.*box;
        if (used && used->*number != text) continue;
        for (const TNumberOption& option : kNumberOptions)
            if (option.Text == number) text = ClampedText(option, text);
    }
}
