#pragma once
// Values that replace some controls for one run only (the command line's options). The
// batch uses them as if they had been typed into the window, so they pass the same clamps,
// but they never reach the controls shown or the settings file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/ControlsState.h"
#include "figures/ConversionContext.h"

enum class TDestination { Desktop, MyDocuments, SourceFolder, GivenFolder };

struct TControlsOverrides {
    std::optional<TDestination> Destination;
    std::optional<std::string> Folder;             // Edit1 (narrow text)
    std::optional<int32_t> ScaleItemIndex;         // ComboBox1
    std::optional<int32_t> MarkerItemIndex;        // ComboBox2
    std::optional<std::string> MarkerSize;         // Edit2
    std::optional<int32_t> ArcMode;                // 0 count, 1 angle, 2 length
    std::optional<std::string> ArcDivisions;       // Edit3
    std::optional<std::string> ArcAngle;           // Edit4, degrees
    std::optional<std::string> ArcAngleMinDivisions;   // Edit5
    std::optional<std::string> ArcLength;          // Edit6, paper mm
    std::optional<std::string> ArcLengthMinDivisions;  // Edit7
    // CheckBox1..CheckBox6: hidden layers, auxiliary, dimensions, hatching, points, solids.
    std::array<std::optional<bool>, 6> Include;
    // Not controls: the document format of every file, and the attribute table's background
    // mode (0 light, 1 dark) set before every file instead of carried over.
    std::optional<TOutputFormat> Format;
    std::optional<int32_t> Background;

    void ApplyTo(TControlsState& controls) const;
};
