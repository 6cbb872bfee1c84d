#pragma once
// Conversions at the Win32 boundary: the windows speak UTF-16, the sources and the console
// speak UTF-8, the settings file speaks the ANSI code page.
#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
