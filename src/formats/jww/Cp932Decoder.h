#pragma once
// Turns the CP932 (Shift_JIS) byte text the readers keep into UTF-8, for documents that
// carry the drawing's own names.
#include <cstdint>
#include <string>
#include <string_view>

// ASCII passes through; a one- or two-byte code the table maps becomes its character; any
// other byte or pair (a lead byte at the end included) becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view text);
// One CP932 code (a byte below 0x100, else lead << 8 | trail) as its character; U+FFFD for a
// code the table lacks. ASCII maps to itself.
char32_t Cp932CodeToChar(uint16_t code);
