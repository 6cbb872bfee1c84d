#pragma once
// The real JWW drawings and their expected reader results in the shared folder
// (TESSARO_SHARED_DIR); tests skip when it is absent.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace jwwsamples {

inline std::filesystem::path SharedDir() { return std::filesystem::path(TESSARO_SHARED_DIR); }

// A path from UTF-8 text, such as a Japanese file name in a literal or from path::string():
// with MinGW the narrow std::string constructor does not decode UTF-8.
inline std::filesystem::path Utf8Path(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Every .jww sample, sorted; empty when the folder is absent.
inline std::vector<std::filesystem::path> SampleFiles()
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    const auto dir = SharedDir() / "samples" / "jww";
    if (!std::filesystem::is_directory(dir, ec)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.path().extension() == ".jww") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Built from path pieces, not narrow strings: with MinGW a narrow string does not round-trip
// a Japanese file name.
inline std::filesystem::path GoldenFor(const std::filesystem::path& sample)
{
    std::filesystem::path name = sample.stem();
    name += ".json";
    return SharedDir() / "golden" / name;
}

}  // namespace jwwsamples
