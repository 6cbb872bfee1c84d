// The JWW string forms: narrow, narrow with a 16-bit length, and the wide (UTF-16) form of
// current drawings, which reaches the program as Shift_JIS byte text.
#include <gtest/gtest.h>

#include "formats/jww/Cp932Encoder.h"
#include "formats/jww/JwwString.h"
#include "support/JwwWriter.h"

using jwwfixture::EStringForm;
using jwwfixture::TByteWriter;
using jwwfixture::WriteJwwString;

namespace {

// Reads one string; skipping it instead must stop at the same byte.
std::string ReadOne(const std::vector<uint8_t>& bytes, size_t* consumed = nullptr)
{
    TByteCursor c(bytes), skipped(bytes);
    std::string s = ReadJwwString(c);
    SkipJwwString(skipped);
    EXPECT_EQ(skipped.Position(), c.Position());
    if (consumed) *consumed = c.Position();
    return s;
}

}  // namespace

TEST(JwwString, LongNarrowFormConsumesItsSixteenBitLength)
{
    TByteWriter w;
    WriteJwwString(w, std::string(300, 'a'), EStringForm::Narrow);
    w.U8('!');
    ASSERT_EQ(w.bytes[0], 0xFF);
    size_t consumed = 0;
    EXPECT_EQ(ReadOne(w.bytes, &consumed), std::string(300, 'a'));
    EXPECT_EQ(consumed, 303u);
}

TEST(JwwString, ControlBytesAreDroppedAndDoubleByteCharactersPassWhole)
{
    TByteWriter w;
    // TAB, CR LF dropped; 0x81 0x0A is one double-byte character whatever its second byte.
    WriteJwwString(w, "A\tB\r\n\x81\x0A" "C", EStringForm::Narrow);
    EXPECT_EQ(ReadOne(w.bytes), "AB\x81\x0A" "C");
}

TEST(JwwString, WideFormBecomesShiftJisText)
{
    TByteWriter w;
    WriteJwwString(w, "\xEF\xBC\xAD\xEF\xBC\xB3 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", EStringForm::Wide);  // "ＭＳ ゴシック"
    size_t consumed = 0;
    EXPECT_EQ(ReadOne(w.bytes, &consumed), "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_EQ(consumed, w.bytes.size());
}

TEST(JwwString, WideLengthsOfEveryFormAreRead)
{
    for (size_t units : {0u, 254u, 255u, 70000u}) {
        SCOPED_TRACE(units);
        TByteWriter w;
        WriteJwwString(w, std::string(units, 'x'), EStringForm::Wide);
        w.U8('!');
        size_t consumed = 0;
        EXPECT_EQ(ReadOne(w.bytes, &consumed), std::string(units, 'x'));
        EXPECT_EQ(consumed, w.bytes.size() - 1);
    }
}

TEST(JwwString, WideLengthBeyondTheFileFailsWithoutAllocating)
{
    TByteWriter w;
    w.U8(0xFF);
    w.U16(0xFFFE);
    w.U8(0xFF);
    w.U16(0xFFFF);
    w.U32(0xFFFFFFFF);  // four billion units promised, none present
    TByteCursor c(w.bytes), skipped(w.bytes);
    EXPECT_THROW(ReadJwwString(c), TReadFailure);
    EXPECT_THROW(SkipJwwString(skipped), TReadFailure);
}

TEST(Cp932Encoder, MapsKanaKanjiAndHalfWidthAndMarksTheRest)
{
    EXPECT_EQ(Utf16ToCp932(u"a\u3042\u6F22"), "a\x82\xA0\x8A\xBF");          // a, hiragana a, kanji
    EXPECT_EQ(Utf16ToCp932(u"\uFF71"), "\xB1");                               // half-width katakana
    EXPECT_EQ(Utf16ToCp932(u"\u2460\u2170"), "\x87\x40\xFA\x40");              // NEC and IBM rows
    EXPECT_EQ(Utf16ToCp932(u"\u00E9\U0001F600|"), "??|");                     // no CP932 form
    EXPECT_EQ(Utf16ToCp932(std::u16string(1, u'\xD800')), "?");               // a lone surrogate
}
