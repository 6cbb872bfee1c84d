#pragma once
// Where a document's bytes go: a growing buffer in memory, or a file (util/FileSink.h). The
// writers only ever append; the first failure is kept and every later write is ignored, so a
// writer checks Ok() once at the end.
#include <cstddef>
#include <string>

class TByteSink {
public:
    virtual ~TByteSink() = default;
    // Appends `size` bytes; false when they could not be taken (then, and afterwards, Ok()
    // is false).
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Ok() const = 0;
};

// The bytes kept in memory, in one growing string. Running out of memory throws
// std::bad_alloc, as any allocation does.
class TMemorySink final : public TByteSink {
public:
    bool Write(const char* data, std::size_t size) override
    {
        Bytes.append(data, size);
        return true;
    }
    bool Ok() const override { return true; }

    std::string Bytes;
};
