#include "output/JsonWriter.h"

#include "util/FloatChars.h"

#include <charconv>
#include <cmath>

namespace {

// The length of the well-formed UTF-8 sequence at text[at], or 0.
size_t Utf8Length(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t b = byte(at);
    if (b < 0x80) return 1;
    const size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (n == 0 || at + n > text.size()) return 0;
    for (size_t i = 1; i < n; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    const uint8_t second = byte(at + 1);
    if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F)) return 0;  // overlong, surrogate
    if ((b == 0xF0 && second < 0x90) || (b == 0xF4 && second > 0x8F)) return 0;  // overlong, past U+10FFFF
    return n;
}

}  // namespace

void TJsonWriter::Separate()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) out_.push_back(',');
    first_ = false;
}

TJsonWriter& TJsonWriter::Begin(char bracket)
{
    Separate();
    out_.push_back(bracket);
    closers_.push_back(bracket == '{' ? '}' : ']');
    first_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::End()
{
    out_.push_back(closers_.back());
    closers_.pop_back();
    first_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view key)
{
    String(key);
    out_.push_back(':');
    afterKey_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view text)
{
    Separate();
    out_.push_back('"');
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const size_t n = Utf8Length(text, i);
        if (n == 0) {
            out_ += "\xEF\xBF\xBD";
            ++i;
        } else if (c == '"' || c == '\\') {
            out_.push_back('\\');
            out_.push_back(c);
            ++i;
        } else if (static_cast<uint8_t>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out_ += "\\u00";
            out_.push_back(kHex[c >> 4]);
            out_.push_back(kHex[c & 15]);
            ++i;
        } else {
            out_.append(text.substr(i, n));
            i += n;
        }
    }
    out_.push_back('"');
    return *this;
}

TJsonWriter& TJsonWriter::Number(double value)
{
    Separate();
    char text[32];
    out_.append(text, ShortestDoubleChars(text, text + sizeof text, std::isfinite(value) ? value : 0.0));
    return *this;
}

TJsonWriter& TJsonWriter::Integer(int64_t value)
{
    Separate();
    out_ += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value)
{
    Separate();
    out_ += value ? "true" : "false";
    return *this;
}
