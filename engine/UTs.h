#pragma once

namespace orbeta {

// The significance level of the conclusions drawn from each F test.
inline constexpr double kSignificanceLevel = 0.05;

// x raised to y, as e^(y ln x) for x > 0, and 0 for x = 0 with y > 0.
// Throws Error("Invalid floating point operation") for any other x and
// Error("Floating point overflow") when the power does not fit in a double.
double Power(double x, double y);

// The approximate probability that an F(df1, df2) variable exceeds f: Paulson's normal
// approximation followed by the Abramowitz-Stegun 26.2.18 tail polynomial. Always in [0, 1];
// at most 0.5 for f >= 1; exactly 1 for f <= 0. Degrees of freedom are positive whole numbers;
// a zero one raises the engine's division error.
double FProbability(double f, double df1, double df2);

// The conclusion rule: a probability below the significance level declares an effect; one
// equal to it, above it, or not a number declares none.
inline bool DeclaresEffect(double probability) {
    return probability < kSignificanceLevel;
}

} // namespace orbeta
