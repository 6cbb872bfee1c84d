#pragma once
// The two products an ellipse point needs, (double)(a * cos t) and (double)(b * sin t), with
// the cosine and sine taken in long double, bit for bit as the long double library functions
// give them, but without their costly argument reduction in most cases.

struct TScaledCosSin {
    double cos = 0;  // (double)(a * cosl(t))
    double sin = 0;  // (double)(b * sinl(t))
};

// Inputs: any a, b and t, including zeros, non-finite values and huge arguments.
// Output: exactly static_cast<double>(a * std::cos((long double)t)) and the same with b and
// std::sin. Values it cannot certify (and every value off the x87/GNU C library platform) come
// from those very expressions.
TScaledCosSin ScaledCosSin(long double a, long double b, double t);
