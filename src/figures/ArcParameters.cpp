#include "figures/ArcParameters.h"

#include <bit>
#include <cfloat>
#include <cmath>

namespace {

// How often a walk is seen before it gets a table: the library's functions cost a few times
// a certified product on x87, and microseconds where long double is done in software (there
// the certified products are cheap in comparison).
#if LDBL_MANT_DIG == 64
constexpr int32_t kSightings = 2;
#else
constexpr int32_t kSightings = 16;
#endif

thread_local TArcAngleTables tables;

}  // namespace

const long double* TArcAngleTables::Find(double start, double sweep, int32_t n) { return tables.Lookup(start, sweep, n); }

// Compared as bits: -0 and +0 walk different parameters, and a NaN must still match itself.
bool TArcAngleTables::TWalk::Is(double start, double sweep, int32_t n) const
{
    return std::bit_cast<uint64_t>(Start) == std::bit_cast<uint64_t>(start) &&
           std::bit_cast<uint64_t>(Sweep) == std::bit_cast<uint64_t>(sweep) && N == n;
}

const long double* TArcAngleTables::Lookup(double start, double sweep, int32_t n)
{
    if (n < 0 || n > kMaxTabled) return nullptr;
    const uint64_t h = (std::bit_cast<uint64_t>(start) * 0x9E3779B97F4A7C15ull) ^
                       (std::bit_cast<uint64_t>(sweep) * 0xC2B2AE3D27D4EB4Full) ^ static_cast<uint64_t>(n);
    const size_t at = (h ^ (h >> 29)) % kSlots;
    TTable& table = tables_[at];
    if (table.Walk.Is(start, sweep, n)) return table.Values.data();
    TCandidate& candidate = candidates_[at];
    if (!candidate.Walk.Is(start, sweep, n)) {
        candidate = {{start, sweep, n}, 1};
        if (kSightings > 1) return nullptr;
    } else if (++candidate.Seen < kSightings) {
        return nullptr;
    }
    table.Walk = {start, sweep, n};
    table.Values.resize(2 * static_cast<size_t>(n) + 2);
    WalkArcParameters(n, n, start, sweep, [&](int32_t k, double t) {
        table.Values[2 * static_cast<size_t>(k)] = std::cos(static_cast<long double>(t));
        table.Values[2 * static_cast<size_t>(k) + 1] = std::sin(static_cast<long double>(t));
    });
    return table.Values.data();
}
