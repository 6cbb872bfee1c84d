#pragma once
// The command line of the `tessaro` front end: input files, plus options that replace the
// saved settings for one run only.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Destination.h"
#include "engine/OptionRequest.h"

struct TCommandLine {
    enum class TAction { Convert, Help, Version, UsageError };
    TAction Action = TAction::Convert;
    std::string Error;  // the usage error, for UsageError
    // The options' changes to the saved request, in the order given (numbers as typed: they
    // are clamped with the rest when the options are made).
    std::vector<std::function<void(TOptionRequest&)>> Changes;
    std::optional<TDestination> Destination;  // --out DIR, --beside: the last one given
    uint32_t Jobs = 1;                         // --jobs: files converted at once; 0 one per core
    std::vector<std::string> Files;            // as passed, in order

    // The saved request with this run's changes.
    TOptionRequest Applied(TOptionRequest saved) const
    {
        for (const auto& change : Changes) change(saved);
        return saved;
    }
};

// Parses the arguments after the program name. Options may come before, between or after
// the files; "--" ends the options. -o, -f and -j stand for --out, --format and --jobs. No
// arguments at all, or no files, is a usage error.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
