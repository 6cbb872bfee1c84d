#pragma once
// Turns the CP932 (Shift_JIS) byte text the readers keep into UTF-8, for documents that
// carry the drawing's own names.
#include <string>
#include <string_view>

// ASCII passes through; a one- or two-byte code the table maps becomes its character; any
// other byte or pair (a lead byte at the end included) becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view text);
