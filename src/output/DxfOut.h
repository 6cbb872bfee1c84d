#pragma once
// The pairs of an ASCII DXF file: a group code on one line, its value on the next. Numbers
// are written as the shortest text that reads back as the same double; handles in hex.
#include <cstdint>
#include <string_view>

#include "util/BufferedOutput.h"
#include "util/FloatChars.h"

class TDxfOut {
public:
    explicit TDxfOut(TBufferedOutput& out) : out_(out) {}

    void Text(int code, std::string_view value)
    {
        Code(code);
        out_.Write(value);
        out_.Write("\n");
    }
    void Int(int code, int64_t value)
    {
        Code(code);
        out_.WriteInt(value);
        out_.Write("\n");
    }
    void Real(int code, double value)
    {
        Code(code);
        char* p = out_.Reserve(40);
        p = ShortestDoubleChars(p, p + 40, value == 0 ? 0.0 : value);  // no "-0"
        *p++ = '\n';
        out_.Commit(p);
    }
    void Handle(int code, uint64_t handle)
    {
        Code(code);
        char digits[17];
        int n = 0;
        do {
            digits[n++] = "0123456789ABCDEF"[handle & 15];
            handle >>= 4;
        } while (handle != 0);
        char* p = out_.Reserve(18);
        while (n > 0) *p++ = digits[--n];
        *p++ = '\n';
        out_.Commit(p);
    }
    // A point (at z = 0 unless given): codes base, base + 10, base + 20.
    void Point(int base, double x, double y, double z = 0)
    {
        Real(base, x);
        Real(base + 10, y);
        Real(base + 20, z);
    }

private:
    void Code(int code)
    {
        char* p = out_.Reserve(8);
        // Right-aligned in three places, as AutoCAD writes them.
        if (code < 10) *p++ = ' ';
        if (code < 100) *p++ = ' ';
        p = std::to_chars(p, p + 6, code).ptr;
        *p++ = '\n';
        out_.Commit(p);
    }

    TBufferedOutput& out_;
};
