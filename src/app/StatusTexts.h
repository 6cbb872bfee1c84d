#pragma once
// The three texts of the main window's status bar (UTF-8).
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// "変換中(n/N) path": before reading file n of N.
std::string ConvertingStatusText(size_t n, size_t count, const std::filesystem::path& path);
// "変換完了(N)": the batch went through all N paths (failed files included).
std::string FinishedStatusText(size_t count);
// The batch was stopped by Escape or by a close request.
inline constexpr std::string_view kStoppedStatusText = "変換を中断しました(ESC)";
