#include "util/BufferedFile.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <utility>

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

TBufferedFile::TBufferedFile(std::size_t bufferSize)
    : buffer_(new char[bufferSize]), capacity_(bufferSize)
{
}

TBufferedFile::~TBufferedFile()
{
    if (file_ != nullptr) std::fclose(file_);
}

bool TBufferedFile::Create(const std::filesystem::path& path)
{
    used_ = 0;
    failed_ = false;
    replacement_ = std::make_unique<TReplacement>(path);
    file_ = OpenFile(replacement_->WritePath(), "wb");
    if (file_ == nullptr) {
        failed_ = true;
        return false;
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);  // our own buffer is the only one
    return true;
}

void TBufferedFile::WriteThrough(const char* data, std::size_t size)
{
    if (file_ == nullptr || failed_ || std::fwrite(data, 1, size, file_) != size) failed_ = true;
}

void TBufferedFile::Flush()
{
    if (used_ == 0) return;
    if (inMemory_) {
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(capacity_), 0});
        std::swap(blocks_.back().Bytes, buffer_);
        blocks_.back().Size = used_;
        used_ = 0;
        return;
    }
    WriteThrough(buffer_.get(), used_);
    used_ = 0;
}

void TBufferedFile::WriteSlow(std::string_view text)
{
    if (!inMemory_ && text.size() >= capacity_) {  // a large piece goes to the file as it is
        Flush();
        WriteThrough(text.data(), text.size());
        return;
    }
    while (!text.empty()) {
        if (used_ == capacity_) Flush();
        const std::size_t part = std::min(text.size(), capacity_ - used_);
        std::memcpy(buffer_.get() + used_, text.data(), part);
        used_ += part;
        text.remove_prefix(part);
    }
}

TTextBlocks TBufferedFile::TakeBlocks()
{
    Flush();
    return std::exchange(blocks_, {});
}

void TBufferedFile::WriteBlocks(const TTextBlocks& blocks)
{
    // A block from this size on goes to the file as it is: copying it into the buffer would
    // cost about as much as the system's write of it. Small ones are gathered, which saves
    // a system call each.
    constexpr std::size_t kWriteAsItIs = std::size_t{1} << 16;
    for (const TTextBlock& block : blocks) {
        if (inMemory_ || block.Size < kWriteAsItIs) {
            Write({block.Bytes.get(), block.Size});
            continue;
        }
        Flush();
        WriteThrough(block.Bytes.get(), block.Size);
    }
}

bool TBufferedFile::Close()
{
    if (file_ == nullptr) return false;
    Flush();
    if (std::fflush(file_) != 0) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    if (!failed_ && !replacement_->Commit()) failed_ = true;
    replacement_.reset();
    return !failed_;
}
