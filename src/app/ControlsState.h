#pragma once
// The state of every control of the main window that the settings file keeps, plus the
// placement of both windows. Front ends copy their widgets into this struct and back; the
// driver, ReadOptions and the settings file only ever see the struct.
//
// Texts are byte text in the platform's narrow code page (the ANSI code page on Windows,
// UTF-8 elsewhere), exactly as typed; Edit2..Edit7 hold ASCII numbers.
#include <cstdint>
#include <string>

struct TControlsState {
    // Window placement in pixels (the window resources' values until settings are read).
    int32_t MainLeft = 192;
    int32_t MainTop = 107;
    int32_t ProgressLeft = 192;
    int32_t ProgressTop = 107;
    int32_t ProgressWidth = 416;
    int32_t ProgressHeight = 219;

    // Destination group: Desktop, My Documents, source folder, given folder (Edit1).
    bool RadioButton1 = true;
    bool RadioButton2 = false;
    bool RadioButton3 = false;
    bool RadioButton4 = false;
    std::string Edit1;

    // Entity kinds: hidden layers, auxiliary, dimensions, hatching, points, solids, texts;
    // and heights.
    bool CheckBox1 = true;
    bool CheckBox2 = true;
    bool CheckBox3 = true;
    bool CheckBox4 = true;
    bool CheckBox5 = true;
    bool CheckBox6 = false;
    bool CheckBox7 = false;
    bool CheckBox8 = false;  // heights: the drawing's height texts lift its lines (2.5D)

    // Item indexes of the drop-down lists; -1 means no item is selected.
    int32_t ComboBox1ItemIndex = 0;  // coordinate factor: x1, x10, x100, x1000
    int32_t ComboBox2ItemIndex = 0;  // point marker shape 0..7

    std::string Edit2 = "1";  // point marker size, paper mm

    // Arc division group: by count (Edit3), by angle (Edit4, least Edit5),
    // by length (Edit6, least Edit7).
    bool RadioButton5 = true;
    bool RadioButton6 = false;
    bool RadioButton7 = false;
    std::string Edit3 = "12";
    std::string Edit4 = "10";
    std::string Edit5 = "4";
    std::string Edit6 = "10";
    std::string Edit7 = "4";

    // Output format group: 0 COLLADA, 1 compact COLLADA, 2 glTF binary, 3 DXF; -1 checks none.
    int32_t OutputFormat = 0;

    bool operator==(const TControlsState&) const = default;
};

// The items of the two drop-down lists and the output format group's buttons.
constexpr int kScaleItemCount = 4;
constexpr int kMarkerItemCount = 8;
constexpr int kFormatItemCount = 4;
