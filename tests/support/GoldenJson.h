#pragma once
// Just enough JSON reading for the expected reader results in the shared golden folder:
// numbers and strings of known keys, optionally inside a named object.
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace golden {

inline std::optional<std::string> ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Position just after `"key":` (searched from `from`), or npos.
inline size_t ValueAt(const std::string& json, const std::string& key, size_t from = 0)
{
    size_t at = json.find("\"" + key + "\":", from);
    if (at == std::string::npos) return at;
    at += key.size() + 3;
    while (at < json.size() && json[at] == ' ') ++at;
    return at;
}

inline double Number(const std::string& json, const std::string& key, size_t from = 0)
{
    size_t at = ValueAt(json, key, from);
    return at == std::string::npos ? -1e300 : std::stod(json.substr(at));
}

// A number inside the object under `object` (for example "counts" -> "lines").
inline double Number(const std::string& json, const std::string& object, const std::string& key)
{
    return Number(json, key, ValueAt(json, object));
}

inline std::string String(const std::string& json, const std::string& key)
{
    size_t at = ValueAt(json, key);
    if (at == std::string::npos || json[at] != '"') return {};
    return json.substr(at + 1, json.find('"', at + 1) - at - 1);
}

inline std::vector<std::string> StringList(const std::string& json, const std::string& key)
{
    std::vector<std::string> out;
    size_t at = ValueAt(json, key);
    if (at == std::string::npos || json[at] != '[') return out;
    size_t end = json.find(']', at);
    for (size_t q = json.find('"', at); q != std::string::npos && q < end; q = json.find('"', q + 1)) {
        size_t close = json.find('"', q + 1);
        out.push_back(json.substr(q + 1, close - q - 1));
        q = close;
    }
    return out;
}

}  // namespace golden
