#pragma once

// Arithmetic of the engine that fails the way the user is told it fails: a division by zero,
// an invalid operation (0/0, the square root of a negative number) or a value too large for a
// double raises an Error with its message, and never yields an infinity or a NaN.

#include "study/Error.h"

#include <cmath>
#include <limits>

namespace orbeta::checked {

inline long double Divide(long double dividend, long double divisor) {
    if (divisor == 0.0L) {
        throw Error(dividend == 0.0L || std::isnan(dividend) ? kInvalidOperation : kDivisionByZero);
    }
    return dividend / divisor;
}

inline long double SquareRoot(long double radicand) {
    if (!(radicand >= 0.0L)) {
        throw Error(kInvalidOperation);
    }
    return std::sqrt(radicand);
}

// A value of an extended-precision expression as the double it is stored in.
inline double Stored(long double value) {
    if (std::isnan(value)) {
        throw Error(kInvalidOperation);
    }
    if (std::fabs(value) > static_cast<long double>(std::numeric_limits<double>::max())) {
        throw Error(kOverflow);
    }
    return static_cast<double>(value);
}

} // namespace orbeta::checked
