#pragma once
// One entry per line of the settings file: the member of TControlsState it keeps, the main
// window's control that shows it and its kind. Reading and writing the settings file and the
// window's Get/SetControls loop over this table; RequestOf and DestinationOf say what the
// controls mean to a batch. This file and the window are the only places that name widgets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "app/ControlsState.h"
#include "app/Destination.h"
#include "engine/OptionRequest.h"

enum class TControlKind {
    Placement,  // a window's position or size in pixels; no control of its own
    Flag,       // a check box
    Radio,      // a radio button; checking one clears the others of its group
    Text,       // an edit box kept exactly as typed
    Count,      // an edit box holding a whole number (clamped by MakeOptions)
    Number,     // an edit box holding a decimal number (clamped by MakeOptions)
    Item,       // a drop-down list's item index; -1 selects nothing
    Choice,     // a radio group kept on one line as its checked button's index; -1 checks none
};

struct TControlEntry {
    TControlKind Kind = TControlKind::Text;
    // The window's control id; 0 for placement. A Choice's buttons have consecutive ids.
    int Control = 0;
    int32_t TControlsState::*Int = nullptr;          // Placement, Item, Choice
    bool TControlsState::*Bool = nullptr;            // Flag, Radio
    std::string TControlsState::*Text = nullptr;     // Text, Count, Number
    int Group = 0;                                   // Radio: the buttons of one group share it
    int ItemCount = 0;                               // Item, Choice: the items or buttons
};

namespace controls_table {

using S = TControlsState;
using K = TControlKind;

constexpr TControlEntry Placement(int32_t S::*m) { return {.Kind = K::Placement, .Int = m}; }
constexpr TControlEntry Flag(int id, bool S::*m) { return {.Kind = K::Flag, .Control = id, .Bool = m}; }
constexpr TControlEntry Radio(int id, bool S::*m, int group)
{
    return {.Kind = K::Radio, .Control = id, .Bool = m, .Group = group};
}
constexpr TControlEntry Text(int id, std::string S::*m) { return {.Kind = K::Text, .Control = id, .Text = m}; }
constexpr TControlEntry Count(int id, std::string S::*m) { return {.Kind = K::Count, .Control = id, .Text = m}; }
constexpr TControlEntry Number(int id, std::string S::*m) { return {.Kind = K::Number, .Control = id, .Text = m}; }
constexpr TControlEntry Item(int id, int32_t S::*m, int count)
{
    return {.Kind = K::Item, .Control = id, .Int = m, .ItemCount = count};
}
constexpr TControlEntry Choice(int firstId, int32_t S::*m, int count)
{
    return {.Kind = K::Choice, .Control = firstId, .Int = m, .ItemCount = count};
}

constexpr int kDestination = 1;
constexpr int kArcDivision = 2;

// Entry i is line i + 1 of the settings file: append new options, never reorder. The control
// ids are the main window's (EControl, numbered from 100 in tab order).
inline constexpr TControlEntry kTable[] = {
    Placement(&S::MainLeft),
    Placement(&S::MainTop),
    Placement(&S::ProgressLeft),
    Placement(&S::ProgressTop),
    Placement(&S::ProgressWidth),
    Placement(&S::ProgressHeight),
    Radio(101, &S::RadioButton1, kDestination),  // Desktop
    Radio(102, &S::RadioButton2, kDestination),  // My Documents
    Radio(103, &S::RadioButton3, kDestination),  // beside each input
    Radio(104, &S::RadioButton4, kDestination),  // the given folder
    Text(105, &S::Edit1),                        // the given folder
    Flag(108, &S::CheckBox1),                    // hidden layers
    Flag(109, &S::CheckBox2),                    // auxiliary
    Flag(110, &S::CheckBox3),                    // dimensions
    Flag(111, &S::CheckBox4),                    // hatching
    Flag(112, &S::CheckBox5),                    // points
    Flag(114, &S::CheckBox6),                    // solids
    Item(117, &S::ComboBox1ItemIndex, kScaleItemCount),
    Item(119, &S::ComboBox2ItemIndex, kMarkerItemCount),
    Number(121, &S::Edit2),                       // point marker size, paper mm
    Radio(123, &S::RadioButton5, kArcDivision),   // by count
    Radio(126, &S::RadioButton6, kArcDivision),   // by angle
    Radio(131, &S::RadioButton7, kArcDivision),   // by length
    Count(124, &S::Edit3),
    Number(128, &S::Edit4),  // degrees
    Count(130, &S::Edit5),
    Number(133, &S::Edit6),  // paper mm
    Count(135, &S::Edit7),
    Choice(137, &S::OutputFormat, kFormatItemCount),  // COLLADA, compact COLLADA, glTF, DXF
    Flag(115, &S::CheckBox7),                          // texts
    Flag(113, &S::CheckBox8),                          // heights (2.5D)
};

}  // namespace controls_table

inline constexpr const auto& kControlsTable = controls_table::kTable;
constexpr int kControlsTableSize = static_cast<int>(std::size(controls_table::kTable));

// The entry that keeps `member`; null for a member the table does not hold.
template <typename T>
constexpr const TControlEntry* EntryOf(T TControlsState::*member)
{
    for (const TControlEntry& entry : kControlsTable) {
        if constexpr (std::is_same_v<T, bool>) {
            if (entry.Bool == member) return &entry;
        } else if constexpr (std::is_same_v<T, int32_t>) {
            if (entry.Int == member) return &entry;
        } else {
            if (entry.Text == member) return &entry;
        }
    }
    return nullptr;
}

// The entry's value as its settings line holds it: flags "1"/"0", numbers and texts as held.
std::string TextOf(const TControlEntry& entry, const TControlsState& controls);

// Sets the entry's member from a settings line's text. Flags take StrToFlag; a radio button
// set true clears the rest of its group (false clears only itself); an item index outside
// the list (or group) selects nothing; placements parse as whole numbers; edit texts are taken as given.
void SetFromText(const TControlEntry& entry, TControlsState& controls, std::string_view text);

// A Count or Number edit text as the settings file's reading normalises it ("+45" -> "45",
// " 2.50" -> "2.5", "abc" -> "0"); other kinds' texts are returned unchanged.
std::string NormalisedText(const TControlEntry& entry, std::string_view text);

// The options the controls request: the check boxes, lists and radio groups as chosen, the
// edit boxes' texts as typed (the arc mode is by length or angle when that button is
// checked, else by count; an output format group with none checked writes COLLADA).
TOptionRequest RequestOf(const TControlsState& controls);

// Where the destination group sends the documents (all unchecked: the given folder).
TDestination DestinationOf(const TControlsState& controls);

// Writes into each number box the value MakeOptions clamps its text to, so that the window
// shows what a batch uses. With `used`, a box is left alone when the batch used another text
// for it (a command line's one-run value).
void ShowClampedNumbers(TControlsState& controls, const TOptionRequest* used = nullptr);
