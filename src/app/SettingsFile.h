#pragma once
// The settings file: CR LF lines, one value per line, the meaning
// of a line being its position. It keeps both windows' placement and every option control.
#include <filesystem>

#include "app/ControlsTable.h"

// The executable's path with its extension replaced by ".dat".
std::filesystem::path SettingsPathFor(const std::filesystem::path& executable);

// Sets every control to its default, then applies the file's lines in order as they are
// read. A missing file leaves the defaults; lines past the end of a short file read as empty
// text; an I/O error stops reading and keeps what was applied so far.
void ReadSettings(const std::filesystem::path& path, TControlsState& controls);

// Writes one line per entry of the controls table, CR LF ended. The old file is replaced only
// by a complete new one: on failure it stays as it was (and no file appears where there was
// none). True when the file was written.
bool WriteSettings(const std::filesystem::path& path, const TControlsState& controls);
