#pragma once
// Options as a user gives them, before any clamp: numbers as typed (an edit box's text or a
// command-line word), choices as picked. The window's controls and the command line's words
// both become a TOptionRequest; MakeOptions reads and clamps it, once, into the value the
// engine converts with.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ConversionOptions.h"

struct TOptionRequest {
    TEntityKinds Include;

    int32_t ScaleItem = 0;     // 0..3 for x1, x10, x100, x1000; anything else x1
    int32_t MarkerShape = 0;   // 0..7; anything else draws no marker
    std::string MarkerSize = "1";

    TArcMode ArcMode = TArcMode::ByCount;
    std::string ArcDivisions = "12";
    std::string ArcAngle = "10";  // degrees
    std::string ArcAngleMinDivisions = "4";
    std::string ArcLength = "10";  // paper mm
    std::string ArcLengthMinDivisions = "4";

    TOutputFormat Format = TOutputFormat::Dae;
    TBackgroundChoice Background = TBackgroundChoice::Carried;
    std::string FontFile;  // empty: each text's own font
    THeightUnit Heights = THeightUnit::Off;
    std::vector<TLayerHeight> Extrude;  // as given, in order (a layer named twice: the last)
    // Texts left out by name ("--exclude texts"): a DXF document holds texts unless they are.
    bool TextsExcluded = false;

    bool operator==(const TOptionRequest&) const = default;
};

// The request's options: numbers parsed (text that is not a number reads as 0) and clamped
// into their ranges, items out of their lists taken as the first scale and no marker.
[[nodiscard]] TConversionOptions MakeOptions(const TOptionRequest& request);

// The numbers a request types, one entry each, with the range MakeOptions clamps it into.
struct TNumberOption {
    std::string TOptionRequest::*Text;
    bool Whole;     // a count: parsed and shown as a whole number
    double Min;
    double Max;
    double ZeroAs;  // a value of 0 is first replaced by this (0: no replacement)
};
inline constexpr TNumberOption kNumberOptions[] = {
    {&TOptionRequest::MarkerSize, false, 0.00001, 10000, 1},
    {&TOptionRequest::ArcDivisions, true, 3, 3600, 0},
    {&TOptionRequest::ArcAngle, false, 0.1, 90, 0},
    {&TOptionRequest::ArcAngleMinDivisions, true, 3, 3600, 0},
    {&TOptionRequest::ArcLength, false, 0.001, 1000, 0},
    {&TOptionRequest::ArcLengthMinDivisions, true, 3, 3600, 0},
};

// The one clamp: `text` parsed as the option's number and clamped into its range.
double ClampedNumber(const TNumberOption& option, std::string_view text);
// The clamped number as a window shows it afterwards ("5000" -> "3600", "2.50" -> "2.5").
std::string ClampedText(const TNumberOption& option, std::string_view text);
