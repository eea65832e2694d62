#include "engine/UTs.h"

#include "engine/CheckedMath.h"

#include <cmath>
#include <utility>

namespace orbeta {

namespace {

// Paulson's 2/(9 df) numerator, at full extended precision.
constexpr long double kPaulson = 2.0L / 9.0L;
// The exponents as the method fixes them: 0.333 and 0.666, not one and two thirds.
constexpr double kOneThird = 0.333;
constexpr double kTwoThirds = 0.666;
// Below this second degrees of freedom the deviate gets the small-sample correction.
constexpr double kSmallDegreesOfFreedom = 4.0;
constexpr long double kSmallSampleCoefficient = 0.08L;
// Abramowitz and Stegun 26.2.18.
constexpr long double kB1 = 0.196854L;
constexpr long double kB2 = 0.115194L;
constexpr long double kB3 = 0.000344L;
constexpr long double kB4 = 0.019527L;

} // namespace

double Power(double x, double y) {
    if (x > 0.0) {
        return checked::Stored(std::exp(y * std::log(x)));
    }
    if (x == 0.0 && y > 0.0) {
        return 0.0;
    }
    throw Error(kInvalidOperation);
}

double FProbability(double f, double df1, double df2) {
    if (f <= 0.0) {
        return 1.0;
    }
    double ratio = f;
    if (f < 1.0) {
        std::swap(df1, df2);
        ratio = checked::Stored(checked::Divide(1.0L, f));
    }
    const double a1 = checked::Stored(checked::Divide(kPaulson, df1));
    const double a2 = checked::Stored(checked::Divide(kPaulson, df2));
    const long double numerator =
        std::fabs(static_cast<long double>(Power(ratio, kOneThird)) * (1.0L - a2) - 1.0L + a1);
    const long double denominator =
        checked::SquareRoot(static_cast<long double>(Power(ratio, kTwoThirds)) * a2 + a1);
    double z = checked::Stored(checked::Divide(numerator, denominator));
    if (df2 < kSmallDegreesOfFreedom) {
        const long double correction =
            kSmallSampleCoefficient * checked::Divide(Power(z, 4.0), Power(df2, 3.0));
        z = checked::Stored(z * (1.0L + correction));
    }
    const double s = checked::Stored(((((kB4 * z + kB3) * z + kB2) * z + kB1) * z + 1.0L));
    const double tail = checked::Stored(checked::Divide(0.5L, Power(s, 4.0)));
    return f >= 1.0 ? tail : checked::Stored(1.0L - tail);
}

} // namespace orbeta
