#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes; and small file helpers for tests.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

class TTempDir {
public:
    TTempDir()
    {
        static std::atomic<unsigned> counter{0};
        const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        for (;;) {
            path_ = std::filesystem::temp_directory_path() /
                    ("tessaro-test-" + std::to_string(tick) + "-" + std::to_string(counter++));
            std::error_code error;
            if (std::filesystem::create_directory(path_, error)) break;
        }
    }
    ~TTempDir()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Splits text at separator; the text after the last separator is the last element (empty when
// the text ends with the separator).
inline std::vector<std::string> SplitText(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        if (at == std::string_view::npos) {
            parts.emplace_back(text);
            return parts;
        }
        parts.emplace_back(text.substr(0, at));
        text.remove_prefix(at + separator.size());
    }
}

// The lines of a file whose lines end with CR LF; a missing final CR LF shows as a last
// non-empty element.
inline std::vector<std::string> ReadCrLfLines(const std::filesystem::path& path)
{
    std::vector<std::string> lines = SplitText(ReadFileBytes(path), "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}
