#pragma once
// Just enough of a binary glTF file for the tests: the container's header and chunks
// checked, the compact JSON the writer prints read into a tree, and accessors decoded from
// the binary chunk.
#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace glb {

struct TJson {
    std::map<std::string, TJson> Object;
    std::vector<TJson> Array;
    std::string Text;
    double Number = 0;
    const TJson& operator[](const std::string& key) const { return Object.at(key); }
    const TJson& operator[](size_t i) const { return Array.at(i); }
    size_t Index() const { return static_cast<size_t>(Number); }
    bool Has(const std::string& key) const { return Object.count(key) != 0; }
};

inline TJson ParseJson(const std::string& s, size_t& at)
{
    TJson value;
    const char c = s[at];
    if (c == '{' || c == '[') {
        for (++at; s[at] != (c == '{' ? '}' : ']');) {
            if (s[at] == ',') ++at;
            if (c == '[') {
                value.Array.push_back(ParseJson(s, at));
                continue;
            }
            const std::string key = ParseJson(s, at).Text;
            value.Object[key] = ParseJson(s, ++at);  // past ':'
        }
        ++at;
    } else if (c == '"') {
        const size_t close = s.find('"', at + 1);
        value.Text = s.substr(at + 1, close - at - 1);
        at = close + 1;
    } else {
        size_t used = 0;
        value.Number = s.compare(at, 4, "true") == 0 ? (used = 4, 1) : std::stod(s.substr(at, 32), &used);
        at += used;
    }
    return value;
}

struct TGlb {
    TJson Json;
    std::string Bin;  // empty when the file has no binary chunk
};

// Throws std::runtime_error when the header or a chunk header is not what glTF 2.0 asks.
inline TGlb ReadGlb(std::string_view file)
{
    const auto word = [&file](size_t at) {
        uint32_t value = 0;
        if (at + 4 <= file.size()) std::memcpy(&value, file.data() + at, 4);
        return value;
    };
    if (file.substr(0, 4) != "glTF" || word(4) != 2 || word(8) != file.size())
        throw std::runtime_error("not a glTF 2.0 container of the file's length");
    const uint32_t jsonLength = word(12);
    if (word(16) != 0x4E4F534A || jsonLength % 4 != 0 || 20 + size_t(jsonLength) > file.size())
        throw std::runtime_error("no JSON chunk");
    TGlb glb;
    const std::string json(file.substr(20, jsonLength));
    size_t at = 0;
    glb.Json = ParseJson(json, at);
    const size_t bin = 20 + size_t(jsonLength);
    if (bin == file.size()) return glb;
    if (word(bin + 4) != 0x004E4942 || bin + 8 + word(bin) != file.size()) throw std::runtime_error("no BIN chunk");
    glb.Bin = std::string(file.substr(bin + 8));
    return glb;
}

// An accessor's components in order, each as a double.
inline std::vector<double> AccessorValues(const TGlb& glb, size_t accessor)
{
    const TJson& a = glb.Json["accessors"][accessor];
    const TJson& view = glb.Json["bufferViews"][a["bufferView"].Index()];
    const char* data = glb.Bin.data() + view["byteOffset"].Index();
    const size_t count = a["count"].Index() * (a["type"].Text == "VEC3" ? 3 : 1);
    const int type = static_cast<int>(a["componentType"].Number);
    if (count * (type == 5123 ? 2 : 4) > view["byteLength"].Index() ||
        view["byteOffset"].Index() + view["byteLength"].Index() > glb.Bin.size())
        throw std::runtime_error("accessor past its view or view past the buffer");
    std::vector<double> values;
    for (size_t i = 0; i < count; ++i) {
        float f;
        uint16_t u16;
        uint32_t u32;
        if (type == 5126) values.push_back((std::memcpy(&f, data + 4 * i, 4), f));
        else if (type == 5123) values.push_back((std::memcpy(&u16, data + 2 * i, 2), u16));
        else values.push_back((std::memcpy(&u32, data + 4 * i, 4), u32));
    }
    return values;
}

}  // namespace glb
