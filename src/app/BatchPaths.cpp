#include "app/BatchPaths.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using TNative = std::filesystem::path::string_type;
using TChar = TNative::value_type;

bool IsSeparator(TChar c) { return c == '/' || c == std::filesystem::path::preferred_separator; }

}  // namespace

TIntake CheckIntake(const std::filesystem::path& path)
{
    if (path.empty()) return TIntake::Empty;
    if (InputFormatOf(path) == TInputFormat::None) return TIntake::WrongExtension;
    // Only regular files: a folder or a device with a drawing's name is not an input.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return TIntake::Missing;
    return TIntake::Accepted;
}

std::filesystem::path FolderOf(const std::filesystem::path& path)
{
    std::filesystem::path folder = path;
    folder.remove_filename();
    return folder;
}

std::filesystem::path WithTrailingSeparator(const std::filesystem::path& folder)
{
    const TNative& text = folder.native();
    if (!text.empty() && IsSeparator(text.back())) return folder;
    TNative withSeparator = text;
    withSeparator.push_back(std::filesystem::path::preferred_separator);
    return std::filesystem::path(withSeparator);
}

std::filesystem::path OutputPathFor(const std::filesystem::path& folder, const std::filesystem::path& input,
                                    std::string_view extension)
{
    TNative name = input.filename().native();
    const size_t dot = name.rfind('.');
    if (dot != TNative::npos) name.erase(dot);
    for (const char c : extension) name.push_back(static_cast<TChar>(c));
    return std::filesystem::path(folder.native() + name);
}

std::string_view OutputExtensionOf(TOutputFormat format)
{
    switch (format) {
    case TOutputFormat::Glb: return ".glb";
    case TOutputFormat::Dxf: return ".dxf";
    case TOutputFormat::Dae:
    case TOutputFormat::DaeCompact: break;
    }
    return ".dae";
}

#ifdef _WIN32

std::filesystem::path PathFromNarrow(const std::string& text)
{
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return std::filesystem::path(wide);
}

std::string NarrowFromPath(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    if (wide.empty()) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                        nullptr);
    return text;
}

#else

std::filesystem::path PathFromNarrow(const std::string& text) { return std::filesystem::path(text); }
std::string NarrowFromPath(const std::filesystem::path& path) { return path.native(); }

#endif

std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
