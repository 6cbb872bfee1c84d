#include "util/FileSink.h"

#include <iterator>

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode)
{
#ifdef _WIN32
    wchar_t wideMode[8] = {};
    for (std::size_t i = 0; i + 1 < std::size(wideMode) && mode[i] != '\0'; ++i)
        wideMode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(path.c_str(), wideMode);
#else
    return std::fopen(path.c_str(), mode);
#endif
}

TFileSink::TFileSink(const std::filesystem::path& target) : replacement_(std::make_unique<TReplacement>(target))
{
    file_ = OpenFile(replacement_->WritePath(), "wb");
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);  // the writers' own buffer is the only one
}

TFileSink::~TFileSink()
{
    if (file_ != nullptr) std::fclose(file_);
}

bool TFileSink::Write(const char* data, std::size_t size)
{
    if (failed_ || std::fwrite(data, 1, size, file_) != size) failed_ = true;
    return !failed_;
}

bool TFileSink::Commit()
{
    if (file_ == nullptr) return false;
    if (std::fflush(file_) != 0) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    if (!failed_ && !replacement_->Commit()) failed_ = true;
    return !failed_;
}
