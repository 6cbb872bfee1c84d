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

const long double* TArcAngleTables::Lookup(double start, double sweep, int32_t n)
{
    if (n < 0 || n > kMaxTabled) return nullptr;
    const uint64_t a = std::bit_cast<uint64_t>(start), b = std::bit_cast<uint64_t>(sweep);
    uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ static_cast<uint64_t>(n);
    TSlot& slot = slots_[(h ^ (h >> 29)) % slots_.size()];
    // Compared as bits: -0 and +0 walk different parameters, and a NaN must still match itself.
    if (std::bit_cast<uint64_t>(slot.Start) != a || std::bit_cast<uint64_t>(slot.Sweep) != b || slot.N != n) {
        slot.Start = start;
        slot.Sweep = sweep;
        slot.N = n;
        slot.Seen = 0;
        slot.Values.clear();
    }
    if (!slot.Values.empty()) return slot.Values.data();
    if (++slot.Seen < kSightings) return nullptr;
    slot.Values.resize(2 * static_cast<size_t>(n) + 2);
    WalkArcParameters(n, n, start, sweep, [&](int32_t k, double t) {
        slot.Values[2 * static_cast<size_t>(k)] = std::cos(static_cast<long double>(t));
        slot.Values[2 * static_cast<size_t>(k) + 1] = std::sin(static_cast<long double>(t));
    });
    return slot.Values.data();
}
