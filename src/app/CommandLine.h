#pragma once
// The command line of the `tessaro` front end: input files, plus options that replace the
// saved controls for one run only.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ControlsOverrides.h"

struct TCommandLine {
    enum class TAction { Convert, Help, Version, UsageError };
    TAction Action = TAction::Convert;
    std::string Error;               // the usage error, for UsageError
    TControlsOverrides Overrides;
    std::optional<int32_t> Background;  // --background: 0 light, 1 dark
    uint32_t Jobs = 1;               // --jobs: files converted at once; 0 one per core
    std::vector<std::string> Files;  // as passed, in order
};

// Parses the arguments after the program name. Options may come before, between or after
// the files; "--" ends the options. No arguments at all, or no files, is a usage error.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
