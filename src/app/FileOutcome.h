#pragma once
// How one listed file of a batch went: the engine's result, with the file and its document.
#include <filesystem>

#include "engine/Engine.h"

struct TFileOutcome : TConversionResult {
    std::filesystem::path Input;
    std::filesystem::path Output;
};
