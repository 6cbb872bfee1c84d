#pragma once
// Text and number helpers. All text is Shift_JIS byte text held in std::string;
// nothing here throws: bad input gives a fixed fallback value.
#include <cstdint>
#include <string>
#include <string_view>

// True for the first byte of a two-byte Shift_JIS character.
bool IsLeadByte(unsigned char b);

bool StrToFlag(std::string_view text);
std::string FlagToStr(bool value);

// Whole-text parses; anything invalid (or out of range) gives 0.
int32_t StrToIntDef0(std::string_view text);
long double StrToFloatDef0(std::string_view text);
float StrToSingleDef0(std::string_view text);

// General format, at most 15 significant digits, no trailing zeros ("10", "0.5", "1E-5").
std::string FloatToText(double value);

// Drops blanks (" ", control bytes, the full-width space).
std::string StripBlanks(std::string_view text);
// Drops single bytes below 0x20 and a lead byte left dangling at the end.
std::string StripControls(std::string_view text);
