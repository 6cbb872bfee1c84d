#pragma once
// The benchmarks' pseudo-random numbers: a fixed-seed xorshift, so every run draws the same
// drawing.
#include <cstdint>

class TXorShift {
public:
    uint64_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }

private:
    uint64_t state_ = 88172645463325252ull;
};
