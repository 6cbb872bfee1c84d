#include "app/StatusTexts.h"

#include "app/BatchPaths.h"

std::string ConvertingStatusText(size_t n, size_t count, const std::filesystem::path& path)
{
    return "変換中(" + std::to_string(n) + "/" + std::to_string(count) + ") " + Utf8Of(path);
}

std::string FinishedStatusText(size_t count) { return "変換完了(" + std::to_string(count) + ")"; }
