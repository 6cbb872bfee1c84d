#pragma once
// The time stamps of a COLLADA document: the current time, and the creation stamp kept from
// a document that is being replaced.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// "2024-05-01T09:30:00Z": UTC, 24-hour clock.
std::string FormatUtcStamp(std::chrono::system_clock::time_point when);

// The creation stamp of the file at path: the text after the first "<created>" (any letter
// case) on its line, stripped of blanks; when nothing is left, the whole next line; either cut
// before its first "<". Nothing when the file is absent, cannot be read or has no such tag.
std::optional<std::string> ReadCreationStamp(const std::filesystem::path& path);

// True when the text can stand as element content of the ASCII document as it is: printable
// ASCII or tabs, no "&" and no "]]>". A kept stamp that fails this would break the document.
bool IsPlainStampText(std::string_view text);
