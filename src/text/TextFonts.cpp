#include "text/TextFonts.h"

#include "formats/FileBytes.h"

TTextFonts::TTextFonts() = default;
TTextFonts::~TTextFonts() = default;
TTextFonts::TTextFonts(TTextFonts&&) noexcept = default;
TTextFonts& TTextFonts::operator=(TTextFonts&&) noexcept = default;

void TTextFonts::Begin(const std::filesystem::path& file, TFontBytes bytes)
{
    chosenFile_ = file;
    // The same font handed in again as fresh bytes (a caller that makes new options for every
    // drawing) keeps the font already read and the glyphs already flattened.
    const bool same = bytes == chosenBytes_ || (bytes && chosenBytes_ && *bytes == *chosenBytes_);
    if (!same) {
        chosenBytes_ = bytes;
        fromBytes_ = bytes ? TFont::Load(bytes, 0) : nullptr;
    }
}

TFont* TTextFonts::For(const std::string& name)
{
    if (!chosenFile_.empty()) return Loaded({chosenFile_, 0});
    if (chosenBytes_) return fromBytes_.get();
    if (const auto hit = byName_.find(name); hit != byName_.end()) return hit->second;
    const std::optional<TFontLocation> location = FindFont(name);
    TFont* font = location ? Loaded(*location) : nullptr;
    byName_.emplace(name, font);
    return font;
}

TFont* TTextFonts::Loaded(const TFontLocation& location)
{
    auto [hit, fresh] = files_.try_emplace({location.Path, location.Index});
    if (fresh) {
        auto bytes = std::make_shared<std::vector<unsigned char>>();
        if (ReadWholeFile(location.Path, *bytes).status == TReadStatus::Complete)
            hit->second = TFont::Load(std::move(bytes), location.Index);
    }
    return hit->second.get();
}
