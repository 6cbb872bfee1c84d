#pragma once
// The parameters an arc's walk visits, and the long double library's cosines and sines of
// them, kept for walks that repeat: every whole ellipse with the same number of divisions
// visits the same parameters, and so do arcs drawn alike (door swings, fillets).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Visits parameters start, start + step, ... (the step added each time in long double and
// rounded to double), visit(k, t) for k = 0 .. lastStep, step = sweep / n.
template <class Visit>
void WalkArcParameters(int32_t n, int32_t lastStep, double start, double sweep, Visit&& visit)
{
    const long double step = static_cast<long double>(sweep) / n;
    double t = start;
    for (int32_t k = 0; k <= lastStep; ++k) {
        visit(k, t);
        t = static_cast<double>(t + step);
    }
}

// A few tables of std::cos and std::sin (long double) of the parameters t_0 .. t_n of a walk
// (start, sweep, n), on the calling thread. A walk gets its table once it has been asked for
// often enough in a row to repay the library calls that fill it (twice on x87); the values
// are the library's own, so a point made from them is the point made without them.
class TArcAngleTables {
public:
    // cos t_k at [2k] and sin t_k at [2k + 1], k = 0 .. n; null while the walk is not tabled
    // (seen too few times, or n above kMaxTabled). Valid until the thread's next call.
    static const long double* Find(double start, double sweep, int32_t n);

    static constexpr int32_t kMaxTabled = 1024;

private:
    struct TWalk {
        double Start = 0, Sweep = 0;
        int32_t N = -1;
        bool Is(double start, double sweep, int32_t n) const;
    };
    // A walk seen lately and how often in a row; a walk with its table. A walk seen once
    // takes only a candidate's place, so that arcs drawn once never push a table out.
    struct TCandidate {
        TWalk Walk;
        int32_t Seen = 0;
    };
    struct TTable {
        TWalk Walk;
        std::vector<long double> Values;
    };
    const long double* Lookup(double start, double sweep, int32_t n);
    static constexpr std::size_t kSlots = 64;
    std::array<TCandidate, kSlots> candidates_;
    std::array<TTable, kSlots> tables_;
};
