#pragma once
// Builds compact JSON text: objects and arrays with their commas, keys, UTF-8 strings
// (escaped; bytes that are no UTF-8 become U+FFFD, so any file name gives valid JSON) and
// numbers in their shortest round-trip form (a value that is not finite becomes 0).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TJsonWriter {
public:
    TJsonWriter& Begin(char bracket);  // '{' or '['
    TJsonWriter& End();
    TJsonWriter& Key(std::string_view key);
    TJsonWriter& String(std::string_view text);
    TJsonWriter& Number(double value);
    TJsonWriter& Integer(int64_t value);
    TJsonWriter& Bool(bool value);

    const std::string& Text() const { return out_; }

private:
    void Separate();

    std::string out_;
    std::vector<char> closers_;
    bool first_ = true;
    bool afterKey_ = false;
};
