#include "platform/core/math.h"

#include "platform/core/sysutils.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Extended kResolution = 1e-12;

Int64 ToInt64(Extended x) {
    if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0))
        throw EInvalidOp(u"Invalid floating point operation");
    return static_cast<Int64>(x);
}

} // namespace

Int64 Ceil(Extended x) {
    return ToInt64(std::ceil(x));
}

Int64 Floor(Extended x) {
    return ToInt64(std::floor(x));
}

Extended Power(Extended base, Extended exponent) {
    return std::pow(base, exponent);
}

// Repeated squaring, as the class library does, so results match its rounding.
Extended IntPower(Extended base, int exponent) {
    Int64 n = exponent;
    const bool invert = n < 0;
    if (invert) n = -n;
    Extended result = 1;
    while (n > 0) {
        if (n & 1) result *= base;
        base *= base;
        n >>= 1;
    }
    return invert ? 1 / result : result;
}

Extended ArcTan2(Extended y, Extended x) {
    return std::atan2(y, x);
}

Extended Log10(Extended x) {
    return std::log10(x);
}

Extended LogN(Extended base, Extended x) {
    return std::log(x) / std::log(base);
}

bool SameValue(Extended a, Extended b, Extended epsilon) {
    if (epsilon == 0) epsilon = std::max(std::min(std::fabs(a), std::fabs(b)) * kResolution, kResolution);
    return a > b ? a - b <= epsilon : b - a <= epsilon;
}

bool IsZero(Extended x, Extended epsilon) {
    if (epsilon == 0) epsilon = kResolution;
    return std::fabs(x) <= epsilon;
}

bool IsNan(Extended x) {
    return std::isnan(x);
}

bool IsInfinite(Extended x) {
    return std::isinf(x);
}
