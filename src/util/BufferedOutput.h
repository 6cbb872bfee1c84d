#pragma once
// A document's bytes gathered in one large buffer and handed to its sink a buffer at a time,
// remembering the first failure instead of checking every call; or, for the pieces of a
// document made on other threads, kept in memory as blocks to be written later in order.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "util/ByteSink.h"

// Text kept in memory: filled buffers in order, each with the length used.
struct TTextBlock {
    std::unique_ptr<char[]> Bytes;
    std::size_t Size = 0;
};
using TTextBlocks = std::vector<TTextBlock>;

class TBufferedOutput {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

    // Writes into `sink`, a buffer at a time.
    explicit TBufferedOutput(TByteSink& sink, std::size_t bufferSize = kDefaultBufferSize);
    // Keeps what is written in memory, to be taken with TakeBlocks and written to a sink
    // later: the pieces of a document made on other threads.
    explicit TBufferedOutput(std::size_t bufferSize);
    TBufferedOutput(const TBufferedOutput&) = delete;
    TBufferedOutput& operator=(const TBufferedOutput&) = delete;

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

    // Hands the rest of the buffer to the sink; false when any write failed.
    [[nodiscard]] bool Finish();

private:
    void Flush();
    void WriteSlow(std::string_view text);
    // Straight to the sink, past the buffer; a failure is remembered.
    void WriteThrough(const char* data, std::size_t size);

    TByteSink* sink_ = nullptr;  // null: collected in memory
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool failed_ = false;
    TTextBlocks blocks_;  // what a buffer in memory has collected
};
