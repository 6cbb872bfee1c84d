#pragma once
// The fonts texts are drawn with, found and read once and kept from one drawing to the next
// (with the glyphs each font has flattened). One per engine; not for several threads.
#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Font.h"
#include "text/FontFinder.h"

using TFontBytes = std::shared_ptr<const std::vector<unsigned char>>;

class TTextFonts {
public:
    TTextFonts();
    ~TTextFonts();
    TTextFonts(TTextFonts&&) noexcept;
    TTextFonts& operator=(TTextFonts&&) noexcept;

    // Starts a drawing: every text in `file` when it is given, else in the font `bytes` when
    // they are given, else in the font each text names.
    void Begin(const std::filesystem::path& file, TFontBytes bytes);
    // The font for a text whose drawing names font `name` (UTF-8); nullptr when there is none
    // (no such font on the system, or the chosen font cannot be read). Throws std::bad_alloc.
    TFont* For(const std::string& name);

private:
    TFont* Loaded(const TFontLocation& location);

    std::map<std::pair<std::filesystem::path, int>, std::unique_ptr<TFont>> files_;  // nullptr: unreadable
    std::map<std::string, TFont*> byName_;
    std::filesystem::path chosenFile_;
    TFontBytes chosenBytes_;
    std::unique_ptr<TFont> fromBytes_;
};
