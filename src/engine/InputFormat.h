#pragma once
// Which of the four drawing formats a file is: from its name's extension, as the front ends
// take files in, or from its first bytes.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

enum class TInputFormat { None, Jwc, Jwk, Jww, Jws };

// The format named by the file name's extension (from its last ".", any letter case); None
// for any other name.
TInputFormat InputFormatOf(const std::filesystem::path& path);

// The format whose signature the bytes begin with; None when they begin with none.
TInputFormat DetectFormat(std::span<const std::byte> bytes);

// The format's name in words ("JWW drawing", "JWS figure file", ...).
std::string_view FormatName(TInputFormat format);
