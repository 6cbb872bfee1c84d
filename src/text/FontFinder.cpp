#include "text/FontFinder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#if defined(_WIN32)
#include <cstdlib>
#elif defined(TESSARO_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

namespace {

bool Contains(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

#if defined(_WIN32)

// The fonts Windows brings for the names Japanese drawings use.
struct TWindowsFont {
    std::string_view Name;
    std::string_view File;
    int Index;
};
constexpr std::array kWindowsFonts{
    TWindowsFont{"ＭＳ ゴシック", "msgothic.ttc", 0}, TWindowsFont{"ＭＳ Ｐゴシック", "msgothic.ttc", 1},
    TWindowsFont{"MS UI Gothic", "msgothic.ttc", 2},  TWindowsFont{"ＭＳ 明朝", "msmincho.ttc", 0},
    TWindowsFont{"ＭＳ Ｐ明朝", "msmincho.ttc", 1},     TWindowsFont{"メイリオ", "meiryo.ttc", 0},
    TWindowsFont{"游ゴシック", "YuGothM.ttc", 0},      TWindowsFont{"游明朝", "yumin.ttf", 0},
};

std::optional<TFontLocation> InFontsFolder(std::string_view file, int index)
{
    const char* windows = std::getenv("WINDIR");
    const std::filesystem::path path =
        std::filesystem::path(windows ? windows : "C:\\Windows") / "Fonts" / std::filesystem::path(file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    return TFontLocation{path, index};
}

std::optional<TFontLocation> SystemFont(std::string_view name)
{
    for (const TWindowsFont& f : kWindowsFonts)
        if (f.Name == name)
            if (auto found = InFontsFolder(f.File, f.Index)) return found;
    // Then the family's own kind: Windows' fonts, or the free IPAex ones many users add.
    if (IsMinchoFamily(name)) {
        if (auto found = InFontsFolder("msmincho.ttc", 0)) return found;
        if (auto found = InFontsFolder("ipaexm.ttf", 0)) return found;
    }
    if (auto found = InFontsFolder("msgothic.ttc", 0)) return found;
    if (auto found = InFontsFolder("ipaexg.ttf", 0)) return found;
    return InFontsFolder("YuGothM.ttc", 0);
}

#elif defined(TESSARO_HAVE_FONTCONFIG)

// fontconfig's best match for `pattern` (a fontconfig name), when `accept` takes it.
template <class Accept>
std::optional<TFontLocation> Match(const std::string& pattern, Accept accept)
{
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
    if (!wanted) return std::nullopt;
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, wanted, &result);
    std::optional<TFontLocation> found;
    FcChar8* file = nullptr;
    int index = 0;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && accept(match)) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        found = TFontLocation{std::filesystem::path(reinterpret_cast<const char*>(file)), index};
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(wanted);
    return found;
}

// A match whose families include `family`: fontconfig answers every question with some
// font, so a stand-in of another family is refused.
std::optional<TFontLocation> Family(std::string_view family)
{
    std::string escaped;
    for (const char c : family) {
        if (c == '-' || c == ':' || c == ',' || c == '\\') escaped.push_back('\\');
        escaped.push_back(c);
    }
    return Match(escaped, [family](FcPattern* match) {
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (std::string_view(reinterpret_cast<const char*>(name)) == family) return true;
        return false;
    });
}

// Any font that writes Japanese (it has the kana "あ").
std::optional<TFontLocation> Japanese()
{
    return Match(":lang=ja", [](FcPattern* match) {
        FcCharSet* chars = nullptr;
        return FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch && FcCharSetHasChar(chars, 0x3042);
    });
}

std::optional<TFontLocation> SystemFont(std::string_view name)
{
    if (!FcInit()) return std::nullopt;
    if (!name.empty())
        if (auto found = Family(name)) return found;
    if (auto found = Family(IsMinchoFamily(name) ? "IPAexMincho" : "IPAexGothic")) return found;
    return Japanese();
}

#else

std::optional<TFontLocation> SystemFont(std::string_view) { return std::nullopt; }

#endif

}  // namespace

bool IsMinchoFamily(std::string_view name) { return Contains(name, "明朝") || Contains(name, "mincho"); }

std::optional<TFontLocation> FindFont(std::string_view name) { return SystemFont(name); }
