#include "engine/UTs.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace orbeta {
namespace {

struct ProbabilityRow {
    double f;
    double df1;
    double df2;
    const char* expected;
};

void PrintTo(const ProbabilityRow& row, std::ostream* out) {
    *out << "F " << row.f << ", df " << row.df1 << " and " << row.df2 << " give " << row.expected;
}

class FProbabilityTable : public ::testing::TestWithParam<ProbabilityRow> {};

TEST_P(FProbabilityTable, GivesTheTabulatedProbability) {
    const ProbabilityRow row = GetParam();
    EXPECT_EQ(FormatResult(FProbability(row.f, row.df1, row.df2), '.'), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FProbabilityTable,
    ::testing::Values(ProbabilityRow{0, 1, 2, "1"}, ProbabilityRow{-3.5, 1, 2, "1"},
                      ProbabilityRow{-1e300, 1, 2, "1"}, ProbabilityRow{1, 3, 3, "0.5"},
                      ProbabilityRow{1, 1, 2, "0.423836"}, ProbabilityRow{1, 2, 1, "0.423828"},
                      ProbabilityRow{0.5, 2, 8, "0.628054"}, ProbabilityRow{0.25, 3, 2, "0.856937"},
                      ProbabilityRow{2.52577, 1, 2, "0.253851"},
                      ProbabilityRow{0.9995, 1, 2, "0.576075"},
                      ProbabilityRow{2.343, 2, 8, "0.157716"}, ProbabilityRow{5, 1, 8, "0.0541253"},
                      ProbabilityRow{7.7, 1, 4, "0.0503426"}, ProbabilityRow{10, 1, 2, "0.0864319"},
                      ProbabilityRow{19, 2, 2, "0.0490155"}, ProbabilityRow{4, 9, 90, "0.00042614"},
                      ProbabilityRow{1000, 9, 90, "5.04818E-14"}),
    [](const ::testing::TestParamInfo<ProbabilityRow>& info) {
        return "Row" + std::to_string(info.index);
    });

TEST(FProbability, StaysWithinItsBoundsAcrossTheStudyRanges) {
    for (double df1 = 1; df1 <= 9; ++df1) {
        for (double df2 = 2; df2 <= 90; df2 += 11) {
            for (double f : {1e-9, 0.01, 0.3, 0.999, 1.0, 1.001, 3.0, 50.0, 1e6, 1e300}) {
                const double p = FProbability(f, df1, df2);
                EXPECT_GE(p, 0.0);
                EXPECT_LE(p, 1.0);
                if (f >= 1) {
                    EXPECT_LE(p, 0.5) << f << " " << df1 << " " << df2;
                } else {
                    EXPECT_GE(p, 0.5) << f << " " << df1 << " " << df2;
                }
            }
        }
    }
}

TEST(FProbability, ZeroDegreesOfFreedomIsADivisionByZero) {
    try {
        FProbability(2.0, 0.0, 3.0);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Floating point division by zero");
    }
}

TEST(ConclusionRule, DeclaresAnEffectOnlyBelowTheLevel) {
    EXPECT_TRUE(DeclaresEffect(0.0490155));
    EXPECT_FALSE(DeclaresEffect(0.0541253));
    EXPECT_FALSE(DeclaresEffect(0.05));
    EXPECT_TRUE(DeclaresEffect(0.049));
    EXPECT_FALSE(DeclaresEffect(std::nan("")));
}

TEST(Power, IsTheExponentialOfTheScaledLogarithm) {
    EXPECT_EQ(FormatResult(Power(8, 0.333), '.'), "1.99861");
    EXPECT_EQ(FormatResult(Power(2, 3), '.'), "8");
    EXPECT_EQ(Power(0, 4), 0.0);
    EXPECT_THROW(Power(-2, 3), Error);
    EXPECT_THROW(Power(1e300, 3), Error);
}

} // namespace
} // namespace orbeta
