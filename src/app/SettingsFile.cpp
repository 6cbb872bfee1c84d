#include "app/SettingsFile.h"

#include <fstream>
#include <string>
#include <system_error>

#include "util/FileSink.h"

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

    // Lines apply in file order, so within a radio group the last true line wins and a
    // group of false lines checks none; reading stops at the first I/O error.
    std::string line;
    for (const TControlEntry& entry : kControlsTable) {
        if (!ReadLine(in, line)) return;
        SetFromText(entry, controls, NormalisedText(entry, line));
    }
}

bool WriteSettings(const std::filesystem::path& path, const TControlsState& controls)
{
    // Written to a temporary file that replaces the old one only when complete, so a failed
    // write leaves the previous settings as they were.
    std::string text;
    for (const TControlEntry& entry : kControlsTable) text += TextOf(entry, controls) + "\r\n";
    TFileSink file(path);
    file.Write(text.data(), text.size());
    return file.Commit();
}
