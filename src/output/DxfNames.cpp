#include "output/DxfNames.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t kMaxNameBytes = 255;
constexpr std::string_view kForbidden = "<>/\\\":;?*|,=`";
constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c); });
    return folded;
}

// Without the spaces (ASCII and ideographic) that drawings pad their names with.
std::string_view Trimmed(std::string_view name)
{
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (std::string_view space : {std::string_view(" "), kIdeographicSpace}) {
            while (name.starts_with(space)) name.remove_prefix(space.size()), trimmed = true;
            while (name.ends_with(space)) name.remove_suffix(space.size()), trimmed = true;
        }
    }
    return name;
}

}  // namespace

std::string SafeTableName(std::string_view name)
{
    std::string safe;
    safe.reserve(name.size());
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        safe.push_back(u < 0x20 || u == 0x7F || kForbidden.find(c) != std::string_view::npos ? '_' : c);
    }
    if (safe.size() > kMaxNameBytes) {
        size_t cut = kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;
        safe.resize(cut);
    }
    // Spaces at the ends do not survive every reader.
    while (!safe.empty() && safe.back() == ' ') safe.pop_back();
    return safe;
}

std::string DxfLayerName(int number, std::string_view groupName, std::string_view name)
{
    std::string full{kHexDigits[(number / 16) & 15], '-', kHexDigits[number & 15]};
    for (std::string_view part : {Trimmed(groupName), Trimmed(name)}) {
        if (part.empty()) continue;
        full += ' ';
        full += part;
    }
    return SafeTableName(full);
}

std::string SafeText(std::string_view text)
{
    std::string safe;
    safe.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20) {
            safe += '^';
            safe += static_cast<char>(u + 0x40);
        } else if (c == '^') {
            safe += "^ ";
        } else {
            safe += c;
        }
    }
    return safe;
}

std::string TUniqueNames::Take(const std::string& name)
{
    std::string candidate = name;
    for (int n = 2; !taken_.insert(Folded(candidate)).second; ++n) candidate = name + "~" + std::to_string(n);
    return candidate;
}
