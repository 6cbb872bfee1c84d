#pragma once
// Path rules of the batch: which inputs are accepted, where their documents go, and how
// paths turn into the texts the windows show.
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/ConversionOptions.h"
#include "engine/InputFormat.h"

// An intake test: not empty, one of the four extensions, and an existing regular file.
enum class TIntake { Accepted, Empty, WrongExtension, Missing };
TIntake CheckIntake(const std::filesystem::path& path);

// The folder part of a path up to and including its last separator; empty for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& path);

// `folder` ending in a separator (one is appended when missing).
std::filesystem::path WithTrailingSeparator(const std::filesystem::path& folder);

// `folder` followed by the input's file name with its last extension replaced by `extension`
// (plan.old.JWW gives plan.old.dae).
std::filesystem::path OutputPathFor(const std::filesystem::path& folder, const std::filesystem::path& input,
                                    std::string_view extension = ".dae");

// The file name extension of a document format: ".dae", ".glb" or ".dxf".
std::string_view OutputExtensionOf(TOutputFormat format);

// Narrow text (the platform's ANSI code page on Windows, UTF-8 bytes elsewhere) to a path
// and back: edit texts and the settings file hold folders this way.
std::filesystem::path PathFromNarrow(const std::string& text);
std::string NarrowFromPath(const std::filesystem::path& path);

// A path as UTF-8 text, for status texts.
std::string Utf8Of(const std::filesystem::path& path);
