#include "app/ControlsOverrides.h"

#include <algorithm>

#include "util/Func_.h"

void TControlsOverrides::Set(bool TControlsState::*control, bool on) { SetText(EntryOf(control), FlagToStr(on)); }

void TControlsOverrides::Set(std::string TControlsState::*control, std::string text)
{
    SetText(EntryOf(control), std::move(text));
}

void TControlsOverrides::Set(int32_t TControlsState::*control, int32_t itemIndex)
{
    SetText(EntryOf(control), std::to_string(itemIndex));
}

void TControlsOverrides::SetText(const TControlEntry* entry, std::string text)
{
    if (!entry) return;
    // One value per control, moved to the end: the list stays as long as the table at most.
    std::erase_if(values_, [entry](const auto& value) { return value.first == entry; });
    values_.emplace_back(entry, std::move(text));
}

void TControlsOverrides::ApplyTo(TControlsState& controls) const
{
    for (const auto& [entry, text] : values_) SetFromText(*entry, controls, text);
}
