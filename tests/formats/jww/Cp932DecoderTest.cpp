#include <gtest/gtest.h>

#include "formats/jww/Cp932Decoder.h"
#include "formats/jww/Cp932Encoder.h"
#include "formats/jww/Cp932Table.h"

// Every character of the table comes back from its code, and bytes without a character
// become U+FFFD without swallowing what follows.
TEST(Cp932Decoder, EveryTableCharacterRoundTripsAndBadBytesBecomeReplacements)
{
    int mismatches = 0;
    for (size_t i = 0; i < kCp932TableSize; ++i) {
        const char16_t unit = kCp932Table[i].unit;
        const std::u16string text{u'A', unit, u'z'};
        const std::string utf8 = Cp932ToUtf8(Utf16ToCp932(text));
        std::u16string back;
        for (size_t at = 0; at < utf8.size();) {  // decode the UTF-8 again
            const unsigned char b = static_cast<unsigned char>(utf8[at]);
            const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
            char16_t c = n == 1 ? b : n == 2 ? b & 0x1F : b & 0x0F;
            for (size_t k = 1; k < n; ++k) c = static_cast<char16_t>(c << 6 | (utf8[at + k] & 0x3F));
            back.push_back(c);
            at += n;
        }
        mismatches += back != text;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");              // lead byte at the end
    EXPECT_EQ(Cp932ToUtf8("\x80Z"), "\xEF\xBF\xBDZ");              // no character
    EXPECT_EQ(Cp932ToUtf8("\x83\x41\xB1"), "\xE3\x82\xA2\xEF\xBD\xB1");  // ア, halfwidth ｱ
}
