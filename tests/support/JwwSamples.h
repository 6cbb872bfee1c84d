#pragma once
// The real JWW drawings and their expected reader results in the shared folder
// (TESSARO_SHARED_DIR); tests skip when it is absent.
#include <algorithm>
#include <filesystem>
#include <vector>

namespace jwwsamples {

inline std::filesystem::path SharedDir() { return std::filesystem::path(TESSARO_SHARED_DIR); }

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
