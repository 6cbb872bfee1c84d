#pragma once
// A glTF position coordinate: (float)(stored * scale - centre), the product and the difference
// taken in long double, infinity when the difference lies beyond the float range. Most
// coordinates are worked out in double instead, where that is certain to give the same float:
// the long double arithmetic costs more than the rest of making a mesh's positions.
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

class TCentredFloat {
public:
    TCentredFloat() : TCentredFloat(1, 0) {}
    TCentredFloat(long double scale, long double centre)
        : scale_(scale), centre_(centre), scaleDouble_(static_cast<double>(scale)),
          centreDouble_(static_cast<double>(centre)), zero_(Extended(0.0)), negativeZero_(Extended(-0.0))
    {
    }

    // Any stored value; a non-finite one comes out infinite, as in the long double arithmetic.
    float operator()(double stored) const
    {
        // Every z coordinate: its sign decides a zero result, which the bound cannot.
        if (stored == 0) return std::signbit(stored) ? negativeZero_ : zero_;
        // The double difference lies within 2^-51 (|product| + |centre|) of the long double
        // one: the roundings of the scale, the centre, the product and the difference add
        // 2^-53 of those magnitudes each, the long double's own two roundings far less. The
        // bound kept is 2^-50 of them, plus the double's smallest steps for results near
        // zero. Rounding to float is monotonic: when both ends of the bound round to the same
        // float (compared as bits, so that -0 and +0 differ), the long double value does too.
        const double product = stored * scaleDouble_;
        const double value = product - centreDouble_;
        const double bound = (std::fabs(product) + std::fabs(centreDouble_)) * 0x1p-50 + 0x1p-1000;
        if (std::fabs(value) + bound <= FLT_MAX) {  // false also for NaN
            const float low = static_cast<float>(value - bound), high = static_cast<float>(value + bound);
            if (std::bit_cast<uint32_t>(low) == std::bit_cast<uint32_t>(high)) return low;
        }
        return Extended(stored);
    }

    // The definition: the long double arithmetic itself.
    float Extended(double stored) const
    {
        const long double value = static_cast<long double>(stored) * scale_ - centre_;
        if (!(std::fabs(value) <= FLT_MAX)) return std::numeric_limits<float>::infinity();
        return static_cast<float>(value);
    }

private:
    long double scale_, centre_;
    double scaleDouble_, centreDouble_;
    float zero_, negativeZero_;  // the results for stored +0 and -0
};
