#pragma once
// Math: the numeric helpers of the class library's Math unit.

#include "platform/core/system.h"

// Rounded toward +infinity / -infinity; NaN, infinities and values beyond
// Int64 raise EInvalidOp. 64-bit, so that step counts over date axes (several
// thousand million seconds) do not overflow.
Int64 Ceil(Extended x);
Int64 Floor(Extended x);

Extended Power(Extended base, Extended exponent);
Extended IntPower(Extended base, int exponent);
Extended ArcTan2(Extended y, Extended x);
Extended Log10(Extended x);
Extended LogN(Extended base, Extended x);

inline int Min(int a, int b) {
    return a < b ? a : b;
}
inline Int64 Min(Int64 a, Int64 b) {
    return a < b ? a : b;
}
inline Extended Min(Extended a, Extended b) {
    return a < b ? a : b;
}
inline int Max(int a, int b) {
    return a > b ? a : b;
}
inline Int64 Max(Int64 a, Int64 b) {
    return a > b ? a : b;
}
inline Extended Max(Extended a, Extended b) {
    return a > b ? a : b;
}

// Equal within epsilon; epsilon 0 picks a tolerance from the magnitudes
// (1e-12 relative with a floor of 1e-12, as the class library does for doubles).
bool SameValue(Extended a, Extended b, Extended epsilon = 0);
bool IsZero(Extended x, Extended epsilon = 0);
bool IsNan(Extended x);
bool IsInfinite(Extended x);
