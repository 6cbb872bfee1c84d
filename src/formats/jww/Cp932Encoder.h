#pragma once
// Turns UTF-16 text into the CP932 (Shift_JIS) byte text the rest of the program works with.
#include <string>
#include <string_view>

// ASCII passes through; other characters take their CP932 code; a character without one
// (a surrogate pair included) becomes "?".
std::string Utf16ToCp932(std::u16string_view text);
