#include "output/ColladaStamp.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "util/FileSink.h"
#include "util/Func_.h"

namespace {

// Reads a file line by line; a line ends at CR, LF or CR LF, which are not part of it.
class TLineReader {
public:
    explicit TLineReader(std::FILE* file) : file_(file) {}

    // False at the end of the file or on a read error (see Failed).
    bool Next(std::string& line)
    {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == size_ && !Fill()) return any;
            any = true;
            const char c = buffer_[pos_++];
            if (c == '\n') return true;
            if (c == '\r') {
                if (pos_ == size_) Fill();
                if (pos_ < size_ && buffer_[pos_] == '\n') ++pos_;
                return true;
            }
            if (line.size() < kMaxLine) line += c;
        }
    }

    bool Failed() const { return failed_; }

private:
    bool Fill()
    {
        pos_ = 0;
        size_ = std::fread(buffer_.get(), 1, kChunk, file_);
        if (size_ == 0 && std::ferror(file_)) failed_ = true;
        return size_ > 0;
    }

    static constexpr std::size_t kChunk = 4096;  // the stamp stands in the document's first lines
    // A document line is short; the rest of an absurdly long line is read past, not kept.
    static constexpr std::size_t kMaxLine = 1024 * 1024;
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_{new char[kChunk]};
    std::size_t pos_ = 0, size_ = 0;
    bool failed_ = false;
};

std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::optional<std::string> FindCreationStamp(TLineReader& reader)
{
    static constexpr std::string_view kTag = "<created>";
    std::string line;
    while (reader.Next(line)) {
        const std::size_t at = AsciiLower(line).find(kTag);
        if (at == std::string::npos) continue;
        std::string taken = StripBlanks(std::string_view(line).substr(at + kTag.size()));
        if (taken.empty()) {
            reader.Next(taken);  // the stamp stands on the next line, taken whole
            if (reader.Failed()) return std::nullopt;
        }
        const std::size_t cut = taken.find('<');
        if (cut != std::string::npos) taken.resize(cut);
        return taken;
    }
    return std::nullopt;
}

char* TwoDigits(char* p, unsigned value)
{
    p[0] = static_cast<char>('0' + value / 10 % 10);
    p[1] = static_cast<char>('0' + value % 10);
    return p + 2;
}

}  // namespace

std::string FormatUtcStamp(std::chrono::system_clock::time_point when)
{
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    char text[32];
    char* p = text;
    const auto year = static_cast<unsigned>(static_cast<int>(date.year()));
    p = TwoDigits(TwoDigits(p, year / 100), year % 100);
    *p++ = '-';
    p = TwoDigits(p, static_cast<unsigned>(date.month()));
    *p++ = '-';
    p = TwoDigits(p, static_cast<unsigned>(date.day()));
    *p++ = 'T';
    p = TwoDigits(p, static_cast<unsigned>(time.hours().count()));
    *p++ = ':';
    p = TwoDigits(p, static_cast<unsigned>(time.minutes().count()));
    *p++ = ':';
    p = TwoDigits(p, static_cast<unsigned>(time.seconds().count()));
    *p++ = 'Z';
    return std::string(text, p);
}

std::optional<std::string> ReadCreationStamp(const std::filesystem::path& path)
{
    // Only a regular file is read: a device or a pipe at the path may never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr) return std::nullopt;
    std::optional<std::string> stamp;
    try {
        TLineReader reader(file);
        stamp = FindCreationStamp(reader);
        if (reader.Failed()) stamp.reset();
    } catch (...) {
        stamp.reset();
    }
    std::fclose(file);
    return stamp;
}

bool IsPlainStampText(std::string_view text)
{
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '&' || (b < 0x20 && b != '\t') || b > 0x7E) return false;
    }
    return text.find("]]>") == std::string_view::npos;
}
