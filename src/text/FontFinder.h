#pragma once
// Which font file draws the texts written in a drawing's font: on Windows the system's fonts
// folder (ＭＳ ゴシック, ＭＳ 明朝, ...), elsewhere fontconfig, where the free IPAex fonts
// stand in for the Gothic and Mincho families the drawings name.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct TFontLocation {
    std::filesystem::path Path;
    int Index = 0;     // the font's place in a collection (.ttc)

    bool operator==(const TFontLocation&) const = default;
};

// The font of family `name` (UTF-8, as the drawing spells it), else one of its kind (a
// Mincho family for a name that says Mincho, a Gothic one otherwise), else any font that
// writes Japanese; nothing when the system has none of them.
std::optional<TFontLocation> FindFont(std::string_view name);

// True for a family name of the Mincho (serif) kind, in Japanese or in Latin letters.
bool IsMinchoFamily(std::string_view name);
