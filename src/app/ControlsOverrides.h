#pragma once
// Values that replace some controls for one run only (the command line's options). The
// batch uses them as if they had been typed into the window, so they pass the same clamps,
// but they never reach the controls shown or the settings file.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlsTable.h"

class TControlsOverrides {
public:
    // A check box's state, or a radio button checked (true) within its group.
    void Set(bool TControlsState::*control, bool on);
    // An edit box's text, taken as typed (the batch clamps numbers).
    void Set(std::string TControlsState::*control, std::string text);
    // A drop-down list's item index.
    void Set(int32_t TControlsState::*control, int32_t itemIndex);

    // Applies the values in the order they were last set, so the last radio button set
    // in a group is the one checked.
    void ApplyTo(TControlsState& controls) const;

private:
    void SetText(const TControlEntry* entry, std::string text);

    // Entry of the controls table, value as its settings line would hold it.
    std::vector<std::pair<const TControlEntry*, std::string>> values_;
};
