#include "util/BufferedOutput.h"

#include <algorithm>
#include <cstring>
#include <utility>

TBufferedOutput::TBufferedOutput(TByteSink& sink, std::size_t bufferSize)
    : sink_(&sink), buffer_(new char[bufferSize]), capacity_(bufferSize)
{
}

TBufferedOutput::TBufferedOutput(std::size_t bufferSize) : buffer_(new char[bufferSize]), capacity_(bufferSize) {}

void TBufferedOutput::WriteThrough(const char* data, std::size_t size)
{
    if (failed_ || !sink_->Write(data, size)) failed_ = true;
}

void TBufferedOutput::Flush()
{
    if (used_ == 0) return;
    if (sink_ == nullptr) {
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(capacity_), 0});
        std::swap(blocks_.back().Bytes, buffer_);
        blocks_.back().Size = used_;
        used_ = 0;
        return;
    }
    WriteThrough(buffer_.get(), used_);
    used_ = 0;
}

void TBufferedOutput::WriteSlow(std::string_view text)
{
    if (sink_ != nullptr && text.size() >= capacity_) {  // a large piece goes to the sink as it is
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

TTextBlocks TBufferedOutput::TakeBlocks()
{
    Flush();
    return std::exchange(blocks_, {});
}

void TBufferedOutput::WriteBlocks(const TTextBlocks& blocks)
{
    // A block from this size on goes to the sink as it is: copying it into the buffer would
    // cost about as much as the system's write of it. Small ones are gathered, which saves
    // a system call each.
    constexpr std::size_t kWriteAsItIs = std::size_t{1} << 16;
    for (const TTextBlock& block : blocks) {
        if (sink_ == nullptr || block.Size < kWriteAsItIs) {
            Write({block.Bytes.get(), block.Size});
            continue;
        }
        Flush();
        WriteThrough(block.Bytes.get(), block.Size);
    }
}

bool TBufferedOutput::Finish()
{
    if (sink_ == nullptr) return false;
    Flush();
    return !failed_ && sink_->Ok();
}
