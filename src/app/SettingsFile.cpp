#include "app/SettingsFile.h"

#include <fstream>
#include <string>
#include <system_error>

#include "util/Func_.h"

namespace {

// Reads one line without its CR LF (or bare LF). Past the end of the file the line is empty
// and `true` is answered; `false` only for an input/output error.
bool ReadLine(std::ifstream& in, std::string& line)
{
    line.clear();
    if (in.eof()) return true;
    std::getline(in, line);
    if (in.bad()) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

int32_t ItemIndexOf(const std::string& line, int32_t itemCount)
{
    const int32_t index = StrToIntDef0(line);
    return (index >= 0 && index < itemCount) ? index : -1;
}

std::string FloatText(const std::string& line)
{
    return FloatToText(static_cast<double>(StrToFloatDef0(line)));
}

std::string IntText(const std::string& line) { return std::to_string(StrToIntDef0(line)); }

}  // namespace

std::filesystem::path SettingsPathFor(const std::filesystem::path& executable)
{
    std::filesystem::path path = executable;
    path.replace_extension(".dat");
    return path;
}

void ReadSettings(const std::filesystem::path& path, TControlsState& controls)
{
    controls = TControlsState{};

    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return;
    std::ifstream in(path, std::ios::binary);
    if (!in) return;

    // Each entry applies one line; they run in file order and stop at the first I/O error.
    using TApply = void (*)(TControlsState&, const std::string&);
    static constexpr TApply kLines[kSettingsLineCount] = {
        [](TControlsState& c, const std::string& s) { c.MainLeft = StrToIntDef0(s); },
        [](TControlsState& c, const std::string& s) { c.MainTop = StrToIntDef0(s); },
        [](TControlsState& c, const std::string& s) { c.ProgressLeft = StrToIntDef0(s); },
        [](TControlsState& c, const std::string& s) { c.ProgressTop = StrToIntDef0(s); },
        [](TControlsState& c, const std::string& s) { c.ProgressWidth = StrToIntDef0(s); },
        [](TControlsState& c, const std::string& s) { c.ProgressHeight = StrToIntDef0(s); },
        // Radio buttons are set one at a time, so within a group the last true line wins
        // and a group of false lines checks none.
        [](TControlsState& c, const std::string& s) {
            c.RadioButton1 = StrToFlag(s);
            if (c.RadioButton1) c.RadioButton2 = c.RadioButton3 = c.RadioButton4 = false;
        },
        [](TControlsState& c, const std::string& s) {
            const bool on = StrToFlag(s);
            if (on) c.RadioButton1 = c.RadioButton3 = c.RadioButton4 = false;
            c.RadioButton2 = on;
        },
        [](TControlsState& c, const std::string& s) {
            const bool on = StrToFlag(s);
            if (on) c.RadioButton1 = c.RadioButton2 = c.RadioButton4 = false;
            c.RadioButton3 = on;
        },
        [](TControlsState& c, const std::string& s) {
            const bool on = StrToFlag(s);
            if (on) c.RadioButton1 = c.RadioButton2 = c.RadioButton3 = false;
            c.RadioButton4 = on;
        },
        [](TControlsState& c, const std::string& s) { c.Edit1 = s; },
        [](TControlsState& c, const std::string& s) { c.CheckBox1 = StrToFlag(s); },
        [](TControlsState& c, const std::string& s) { c.CheckBox2 = StrToFlag(s); },
        [](TControlsState& c, const std::string& s) { c.CheckBox3 = StrToFlag(s); },
        [](TControlsState& c, const std::string& s) { c.CheckBox4 = StrToFlag(s); },
        [](TControlsState& c, const std::string& s) { c.CheckBox5 = StrToFlag(s); },
        [](TControlsState& c, const std::string& s) { c.CheckBox6 = StrToFlag(s); },
        [](TControlsState& c, const std::string& s) { c.ComboBox1ItemIndex = ItemIndexOf(s, kScaleItemCount); },
        [](TControlsState& c, const std::string& s) { c.ComboBox2ItemIndex = ItemIndexOf(s, kMarkerItemCount); },
        [](TControlsState& c, const std::string& s) { c.Edit2 = FloatText(s); },
        [](TControlsState& c, const std::string& s) {
            const bool on = StrToFlag(s);
            if (on) c.RadioButton6 = c.RadioButton7 = false;
            c.RadioButton5 = on;
        },
        [](TControlsState& c, const std::string& s) {
            const bool on = StrToFlag(s);
            if (on) c.RadioButton5 = c.RadioButton7 = false;
            c.RadioButton6 = on;
        },
        [](TControlsState& c, const std::string& s) {
            const bool on = StrToFlag(s);
            if (on) c.RadioButton5 = c.RadioButton6 = false;
            c.RadioButton7 = on;
        },
        [](TControlsState& c, const std::string& s) { c.Edit3 = IntText(s); },
        [](TControlsState& c, const std::string& s) { c.Edit4 = FloatText(s); },
        [](TControlsState& c, const std::string& s) { c.Edit5 = IntText(s); },
        [](TControlsState& c, const std::string& s) { c.Edit6 = FloatText(s); },
        [](TControlsState& c, const std::string& s) { c.Edit7 = IntText(s); },
    };

    std::string line;
    for (TApply apply : kLines) {
        if (!ReadLine(in, line)) return;
        apply(controls, line);
    }
}

bool WriteSettings(const std::filesystem::path& path, const TControlsState& c)
{
    const std::string lines[kSettingsLineCount] = {
        std::to_string(c.MainLeft),           std::to_string(c.MainTop),
        std::to_string(c.ProgressLeft),       std::to_string(c.ProgressTop),
        std::to_string(c.ProgressWidth),      std::to_string(c.ProgressHeight),
        FlagToStr(c.RadioButton1),            FlagToStr(c.RadioButton2),
        FlagToStr(c.RadioButton3),            FlagToStr(c.RadioButton4),
        c.Edit1,                              FlagToStr(c.CheckBox1),
        FlagToStr(c.CheckBox2),               FlagToStr(c.CheckBox3),
        FlagToStr(c.CheckBox4),               FlagToStr(c.CheckBox5),
        FlagToStr(c.CheckBox6),               std::to_string(c.ComboBox1ItemIndex),
        std::to_string(c.ComboBox2ItemIndex), c.Edit2,
        FlagToStr(c.RadioButton5),            FlagToStr(c.RadioButton6),
        FlagToStr(c.RadioButton7),            c.Edit3,
        c.Edit4,                              c.Edit5,
        c.Edit6,                              c.Edit7,
    };

    bool written = false;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            for (const std::string& line : lines) out << line << "\r\n";
            out.flush();
            written = static_cast<bool>(out);
            out.close();
            written = written && !out.fail();
        }
    }
    if (!written) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) std::filesystem::remove(path, error);
    }
    return written;
}
