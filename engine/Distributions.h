#pragma once

// The distributions of the engine, in double arithmetic: promoting it to long double costs five
// times the time for digits beyond those a double holds anyway. Every failure of Boost.Math (an
// argument outside a distribution's domain, a result beyond a double, a series that does not
// converge) raises the core's Error with a Spanish message instead of a standard exception
// carrying Boost's English text.

#include "study/Error.h"

#include <boost/math/policies/policy.hpp>

namespace boost::math::policies {

template <class T> T user_domain_error(const char*, const char*, const T&) {
    throw orbeta::Error("Una distribución estadística no admite los valores de este cálculo.");
}

template <class T> T user_pole_error(const char*, const char*, const T&) {
    throw orbeta::Error("Una distribución estadística no admite los valores de este cálculo.");
}

template <class T> T user_overflow_error(const char*, const char*, const T&) {
    throw orbeta::Error(
        "Un valor de una distribución estadística excede lo que el cálculo puede representar.");
}

template <class T> T user_evaluation_error(const char*, const char*, const T&) {
    throw orbeta::Error("Una distribución estadística no llega a un valor para estos datos.");
}

template <class T, class TargetType>
T user_rounding_error(const char*, const char*, const T&, const TargetType&) {
    throw orbeta::Error(
        "Un valor de una distribución estadística excede lo que el cálculo puede representar.");
}

template <class T> T user_indeterminate_result_error(const char*, const char*, const T&) {
    throw orbeta::Error("Una distribución estadística no llega a un valor para estos datos.");
}

} // namespace boost::math::policies

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>

namespace orbeta::distributions {

namespace policies = boost::math::policies;
using Policy =
    policies::policy<policies::promote_double<false>, policies::domain_error<policies::user_error>,
                     policies::pole_error<policies::user_error>,
                     policies::overflow_error<policies::user_error>,
                     policies::evaluation_error<policies::user_error>,
                     policies::rounding_error<policies::user_error>,
                     policies::indeterminate_result_error<policies::user_error>>;
using ChiSquared = boost::math::chi_squared_distribution<double, Policy>;
using FisherF = boost::math::fisher_f_distribution<double, Policy>;
using StudentsT = boost::math::students_t_distribution<double, Policy>;

// The lower-tail p quantile of chi-square with df degrees of freedom.
inline double ChiSquareQuantile(double p, double df) {
    return boost::math::quantile(ChiSquared(df), p);
}

} // namespace orbeta::distributions
