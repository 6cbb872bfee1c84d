#include "engine/InputFormat.h"

#include <cstring>

#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"

namespace {

using TNative = std::filesystem::path::string_type;
using TChar = TNative::value_type;

TChar UpperAscii(TChar c) { return (c >= 'a' && c <= 'z') ? static_cast<TChar>(c - 'a' + 'A') : c; }

bool EqualsUpper(const TNative& text, const char* upper)
{
    size_t i = 0;
    for (; upper[i] != '\0'; ++i) {
        if (i >= text.size() || UpperAscii(text[i]) != static_cast<TChar>(upper[i])) return false;
    }
    return i == text.size();
}

bool StartsWith(std::span<const std::byte> bytes, std::string_view signature)
{
    return bytes.size() >= signature.size() && std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

TInputFormat InputFormatOf(const std::filesystem::path& path)
{
    const TNative name = path.filename().native();
    const size_t dot = name.rfind('.');
    if (dot == TNative::npos) return TInputFormat::None;
    const TNative extension = name.substr(dot);
    if (EqualsUpper(extension, ".JWC")) return TInputFormat::Jwc;
    if (EqualsUpper(extension, ".JWK")) return TInputFormat::Jwk;
    if (EqualsUpper(extension, ".JWW")) return TInputFormat::Jww;
    if (EqualsUpper(extension, ".JWS")) return TInputFormat::Jws;
    return TInputFormat::None;
}

TInputFormat DetectFormat(std::span<const std::byte> bytes)
{
    if (StartsWith(bytes, TJwwData::kSignature)) return TInputFormat::Jww;
    if (StartsWith(bytes, TJwsData::kSignature)) return TInputFormat::Jws;
    if (StartsWith(bytes, TJwcData::kSignature)) return TInputFormat::Jwc;
    if (StartsWith(bytes, TJwkData::kSignature)) return TInputFormat::Jwk;
    return TInputFormat::None;
}

std::string_view FormatName(TInputFormat format)
{
    switch (format) {
    case TInputFormat::Jwc: return "JWC drawing";
    case TInputFormat::Jwk: return "JWK symbol file";
    case TInputFormat::Jww: return "JWW drawing";
    case TInputFormat::Jws: return "JWS figure file";
    case TInputFormat::None: break;
    }
    return "drawing";
}
