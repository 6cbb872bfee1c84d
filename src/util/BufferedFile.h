#pragma once
// Writing a file through one large buffer, remembering the first failure instead of checking
// every call. Also the portable way to open a file by std::filesystem::path (wide names on
// Windows).
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "util/SafeReplace.h"

// std::fopen for a path; on Windows the wide-character name is used so any file name works.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Text kept in memory: filled buffers in order, each with the length used.
struct TTextBlock {
    std::unique_ptr<char[]> Bytes;
    std::size_t Size = 0;
};
using TTextBlocks = std::vector<TTextBlock>;

class TBufferedFile {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

    explicit TBufferedFile(std::size_t bufferSize = kDefaultBufferSize);
    ~TBufferedFile();  // an open file is closed and discarded: the old file at the path stays
    TBufferedFile(const TBufferedFile&) = delete;
    TBufferedFile& operator=(const TBufferedFile&) = delete;

    // Starts the replacement of the file at `path` (see TReplacement: the content goes to a
    // temporary file beside it); false when that cannot be opened.
    bool Create(const std::filesystem::path& path);
    bool IsOpen() const { return file_ != nullptr; }
    // Keeps what is written in memory instead of a file, to be taken with TakeBlocks and
    // written to a file later: the pieces of a document made on other threads.
    void CollectInMemory() { inMemory_ = true; }
    TTextBlocks TakeBlocks();
    // Writes collected text after what was written so far.
    void WriteBlocks(const TTextBlocks& blocks);

    void Write(std::string_view text)
    {
        if (text.size() <= capacity_ - used_) {  // the common case: it fits
            std::memcpy(buffer_.get() + used_, text.data(), text.size());
            used_ += text.size();
        } else {
            WriteSlow(text);
        }
    }
    void WriteInt(int64_t value)
    {
        char* p = Reserve(24);
        Commit(std::to_chars(p, p + 24, value).ptr);
    }
    // Room for n characters at the returned pointer; Commit the end of what was written there.
    // n must not exceed the buffer size.
    char* Reserve(std::size_t n)
    {
        if (capacity_ - used_ < n) Flush();
        return buffer_.get() + used_;
    }
    void Commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

    // Flushes, closes and puts the new file in place; false when creating, any write, the
    // flush, the close or the rename failed, and then the old file at the path is untouched.
    bool Close();

private:
    void Flush();
    void WriteSlow(std::string_view text);
    // Straight to the file, past the buffer; a failure is remembered.
    void WriteThrough(const char* data, std::size_t size);

    std::FILE* file_ = nullptr;
    std::unique_ptr<TReplacement> replacement_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool failed_ = false;
    bool inMemory_ = false;
    TTextBlocks blocks_;  // what a buffer in memory has collected
};
