#pragma once

// The distributions of the engine, in double arithmetic: promoting it to long double costs five
// times the time for digits beyond those a double holds anyway.

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>

namespace orbeta::distributions {

using Policy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
using ChiSquared = boost::math::chi_squared_distribution<double, Policy>;
using FisherF = boost::math::fisher_f_distribution<double, Policy>;
using StudentsT = boost::math::students_t_distribution<double, Policy>;

// The lower-tail p quantile of chi-square with df degrees of freedom.
inline double ChiSquareQuantile(double p, double df) {
    return boost::math::quantile(ChiSquared(df), p);
}

} // namespace orbeta::distributions
