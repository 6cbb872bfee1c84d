#include "app/ControlsTable.h"

#include <algorithm>

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

double ClampInPlace(const TControlEntry& entry, TControlsState& controls)
{
    std::string& text = controls.*entry.Text;
    const TClamp& clamp = entry.Clamp;
    if (entry.Kind == TControlKind::Count) {
        const int32_t count = StrToIntDef0(text);
        const int32_t clamped = std::clamp(count == 0 ? static_cast<int32_t>(clamp.ZeroAs) : count,
                                           static_cast<int32_t>(clamp.Min), static_cast<int32_t>(clamp.Max));
        text = std::to_string(clamped);
        return clamped;
    }
    const double value = static_cast<double>(StrToFloatDef0(text));
    const double clamped = std::clamp(value == 0 ? clamp.ZeroAs : value, clamp.Min, clamp.Max);
    text = FloatToText(clamped);
    return clamped;
}
