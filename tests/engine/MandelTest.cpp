#include "engine/Mandel.h"

#include "support/Studies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbeta {
namespace {

// Expected values from R: h = (p - 1) t / sqrt(p (t^2 + p - 2)) with t = qt(1 - alpha/2, p - 2),
// k = sqrt(p / (1 + (p - 1) / qf(1 - alpha, nu, (p - 1) nu))).
TEST(Mandel, IndicatorValuesFollowStudentsTAndTheFDistribution) {
    struct Case {
        int analysts;
        double nu;
        double h1, h5, k1, k5;
    };
    const Case cases[] = {
        {3, 1, 1.15455808584, 1.15114098198, 1.71473029949, 1.64544826719},
        {3, 2, 1.15455808584, 1.15114098198, 1.64316767252, 1.52616499984},
        {4, 4, 1.485, 1.425, 1.60420018717, 1.44319502991},
        {5, 6, 1.71503731234, 1.57122137072, 1.54638978864, 1.38814567385},
        {10, 40, 2.17606839419, 1.79841000495, 1.24440252355, 1.17024226407},
    };
    for (const Case& c : cases) {
        const MandelStatistics mandel = MandelIndicators(c.analysts, c.nu);
        SCOPED_TRACE("p = " + std::to_string(c.analysts) + ", nu = " + std::to_string(c.nu));
        EXPECT_NEAR(mandel.h1, c.h1, 1e-9);
        EXPECT_NEAR(mandel.h5, c.h5, 1e-9);
        EXPECT_NEAR(mandel.k1, c.k1, 1e-9);
        EXPECT_NEAR(mandel.k5, c.k5, 1e-9);
    }
}

// Four analysts, two days of three; the fourth reads high and scatters more. h and k from R:
// h = (m - mean(m)) / sd(m) over the analyst means, k = s / sqrt(mean(s^2)) over each analyst's
// variance pooled over its days.
TEST(Mandel, StatisticsOfEachAnalystAndTheFlaggedOnesNamed) {
    const Study study = testing::StudyWithResults(
        4, 2, 3, {"99.1", "100.2", "99.8",  "100.5", "99.9",  "100.1", "98.7",  "99.5",
                  "99.0", "100.0", "99.6",  "99.3",  "99.4",  "99.8",  "99.6",  "99.9",
                  "99.7", "100.3", "101.2", "101.9", "100.4", "102.6", "100.9", "101.5"});
    const MandelStatistics mandel = ComputeMandel(ReadStudyValues(study, '.'));
    const double h[] = {-0.208658572298, -0.857818575004, -0.375585430137, 1.44206257744};
    const double k[] = {0.870306549342, 0.733717355703, 0.500391083361, 1.56647186882};
    ASSERT_EQ(mandel.analysts.size(), 4u);
    for (int analyst = 0; analyst < 4; ++analyst) {
        EXPECT_EQ(mandel.analysts[analyst].analyst, analyst + 1);
        EXPECT_NEAR(mandel.analysts[analyst].h, h[analyst], 1e-9) << analyst + 1;
        EXPECT_NEAR(mandel.analysts[analyst].k, k[analyst], 1e-9) << analyst + 1;
    }
    EXPECT_NEAR(mandel.h5, 1.425, 1e-9);
    EXPECT_EQ(MandelFlagSentences(mandel, ','),
              (std::vector<std::string>{
                  "Analista 4: h = 1,44206, dudoso (por encima del valor indicador del 5 %).",
                  "Analista 4: k = 1,56647, dudoso (por encima del valor indicador del 5 %)."}));
}

TEST(Mandel, AbsentWithFewerThanThreeAnalysts) {
    struct Case {
        int analysts;
        const char* reason;
    };
    const Case cases[] = {
        {2, "Los estadísticos h y k de Mandel necesitan al menos 3 analistas; este estudio tiene "
            "2."},
        {3, nullptr},
        {10, nullptr},
    };
    for (const Case& c : cases) {
        const auto reason = MandelAbsence(c.analysts);
        EXPECT_EQ(reason.has_value(), c.reason != nullptr) << c.analysts;
        if (reason && c.reason) {
            EXPECT_EQ(*reason, c.reason);
        }
    }
}

} // namespace
} // namespace orbeta
