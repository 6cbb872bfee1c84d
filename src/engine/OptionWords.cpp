#include "engine/OptionWords.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <utility>

#include "util/FloatChars.h"

namespace {

constexpr int32_t kMarkerShapes = 8;
constexpr double kMaxLayerHeight = 10000;  // metres, as for the drawing's own height texts

// A decimal number as the edit boxes take it: sign, digits, optional fraction and exponent.
bool IsDecimalNumber(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// Reads one word's value into changes; the first error found is kept.
class TWordReader {
public:
    explicit TWordReader(std::vector<TRequestChange>& changes) : changes_(changes) {}

    void Read(std::string_view name, const std::string& value)
    {
        using R = TOptionRequest;
        if (name == "scale") {
            const std::string_view scales[] = {"1", "10", "100", "1000"};
            const auto at = std::find(std::begin(scales), std::end(scales), value);
            if (at == std::end(scales)) return Fail("--scale takes 1, 10, 100 or 1000, not '" + value + "'");
            Set(&R::ScaleItem, static_cast<int32_t>(at - std::begin(scales)));
        } else if (name == "marker") {
            const std::optional<int32_t> shape = ParseWholeNumber(value);
            if (!shape || *shape < 0 || *shape >= kMarkerShapes) {
                return Fail("--marker takes a shape 0..7, not '" + value + "'");
            }
            Set(&R::MarkerShape, *shape);
        } else if (name == "marker-size") {
            if (!IsDecimalNumber(value)) return Fail("--marker-size takes a number, not '" + value + "'");
            Set(&R::MarkerSize, value);
        } else if (name == "arcs") {
            Arcs(value);
        } else if (name == "include" || name == "exclude") {
            Kinds(value, name == "include");
        } else if (name == "format") {
            const std::string_view formats[] = {"dae", "dae-compact", "glb", "dxf"};
            const TOutputFormat values[] = {TOutputFormat::Dae, TOutputFormat::DaeCompact, TOutputFormat::Glb,
                                            TOutputFormat::Dxf};
            const auto at = std::find(std::begin(formats), std::end(formats), value);
            if (at == std::end(formats)) return Fail("--format takes dae, dae-compact, glb or dxf, not '" + value + "'");
            Set(&R::Format, values[at - std::begin(formats)]);
        } else if (name == "font") {
            if (value.empty()) return Fail("--font needs a font file");
            Set(&R::FontFile, value);
        } else if (name == "heights") {
            if (value != "m" && value != "mm" && value != "off")
                return Fail("--heights takes m or mm, not '" + value + "'");
            Set(&R::Heights, value == "off" ? THeightUnit::Off : value == "m" ? THeightUnit::Metres : THeightUnit::Millimetres);
        } else if (name == "extrude") {
            Extrude(value);
        } else if (name == "background") {
            if (value != "light" && value != "dark") return Fail("--background takes light or dark, not '" + value + "'");
            Set(&R::Background, value == "dark" ? TBackgroundChoice::Dark : TBackgroundChoice::Light);
        } else {
            Fail("unknown option '--" + std::string(name) + "'");
        }
    }

    std::string Error;

private:
    void Fail(std::string message)
    {
        if (Error.empty()) Error = std::move(message);
    }

    template <typename T, typename V>
    void Set(T TOptionRequest::*field, V value)
    {
        changes_.push_back([field, value = T(std::move(value))](TOptionRequest& request) { request.*field = value; });
    }

    void Arcs(const std::string& choice)
    {
        const std::vector<std::string_view> parts = Split(choice, ':');
        const auto isCount = [](std::string_view text) { return ParseWholeNumber(text).has_value(); };
        using R = TOptionRequest;
        if (parts[0] == "count" && parts.size() == 2 && isCount(parts[1])) {
            Set(&R::ArcMode, TArcMode::ByCount);
            Set(&R::ArcDivisions, std::string(parts[1]));
            return;
        }
        if ((parts[0] == "angle" || parts[0] == "length") && (parts.size() == 2 || parts.size() == 3) &&
            IsDecimalNumber(parts[1]) && (parts.size() == 2 || isCount(parts[2]))) {
            const bool angle = parts[0] == "angle";
            Set(&R::ArcMode, angle ? TArcMode::ByAngle : TArcMode::ByLength);
            Set(angle ? &R::ArcAngle : &R::ArcLength, std::string(parts[1]));
            if (parts.size() == 3) Set(angle ? &R::ArcAngleMinDivisions : &R::ArcLengthMinDivisions, std::string(parts[2]));
            return;
        }
        Fail("--arcs takes count:N, angle:DEG[:MIN] or length:MM[:MIN], not '" + choice + "'");
    }

    // LAYER=METRES items, added to those given before; a layer's name may hold '=', so the
    // last one divides.
    void Extrude(const std::string& list)
    {
        if (list.empty()) {  // no layer: those given before are dropped
            changes_.push_back([](TOptionRequest& r) { r.Extrude.clear(); });
            return;
        }
        std::vector<TLayerHeight> heights;
        for (std::string_view item : Split(list, ',')) {
            const size_t equals = item.rfind('=');
            const std::string_view layer = equals == std::string_view::npos ? item : item.substr(0, equals);
            const std::string_view metres = equals == std::string_view::npos ? std::string_view{} : item.substr(equals + 1);
            long double value = 0;
            if (layer.empty() || !IsDecimalNumber(metres) || !ReadLongDouble(metres.substr(metres.front() == '+'), value) ||
                !(std::fabs(value) <= kMaxLayerHeight))
                return Fail("--extrude takes LAYER=METRES (within 10000 m), not '" + std::string(item) + "'");
            heights.push_back({std::string(layer), static_cast<double>(value)});
        }
        changes_.push_back([heights](TOptionRequest& r) { r.Extrude.insert(r.Extrude.end(), heights.begin(), heights.end()); });
    }

    void Kinds(const std::string& list, bool include)
    {
        using K = TEntityKinds;
        static constexpr std::pair<std::string_view, bool K::*> kKinds[] = {
            {"hidden", &K::HiddenLayers}, {"aux", &K::Auxiliary},  {"dims", &K::Dimensions},
            {"hatch", &K::Hatching},      {"points", &K::Points}, {"solids", &K::Solids},
            {"texts", &K::Texts},
        };
        for (std::string_view name : Split(list, ',')) {
            const auto kind = std::ranges::find(kKinds, name, &std::pair<std::string_view, bool K::*>::first);
            if (kind == std::end(kKinds)) {
                return Fail("unknown kind '" + std::string(name) +
                            "' (choose from hidden, aux, dims, hatch, points, solids, texts)");
            }
            changes_.push_back([field = kind->second, include](TOptionRequest& r) { r.Include.*field = include; });
            if (kind->second == &K::Texts)
                changes_.push_back([include](TOptionRequest& r) { r.TextsExcluded = !include; });
        }
    }

    std::vector<TRequestChange>& changes_;
};

}  // namespace

bool IsOptionWord(std::string_view name)
{
    return name == "format" || name == "scale" || name == "marker" || name == "marker-size" || name == "arcs" ||
           name == "include" || name == "exclude" || name == "background" || name == "font" ||
           name == "heights" || name == "extrude";
}

std::string ReadOptionWord(std::string_view name, const std::string& value, std::vector<TRequestChange>& changes)
{
    const size_t before = changes.size();
    TWordReader reader(changes);
    reader.Read(name, value);
    if (!reader.Error.empty()) changes.erase(changes.begin() + static_cast<std::ptrdiff_t>(before), changes.end());
    return std::move(reader.Error);
}

std::optional<int32_t> ParseWholeNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}
