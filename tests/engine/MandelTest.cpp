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

// With results missing: each analyst's mean is of the results it holds and its SD pools its
// days with their own counts (nu_i = sum (n_ij - 1)); the k indicator values take the mean of
// the nu_i. From R: the same formulas on the results held, qf with the fractional nu.
TEST(Mandel, StatisticsOfAStudyWithResultsMissing) {
    struct Case {
        const char* name;
        int analysts, days, replicates;
        std::vector<std::string> results;
        std::vector<double> h, k;
        double nu, k1, k5;
        int analystWithoutK;
        const char* withoutK;
    };
    const Case cases[] = {
        {"a replicate and a whole day lost",
         4,
         2,
         3,
         {"99.1", "100.2", "99.8",  "NA",    "99.9",  "100.1", "98.7",  "99.5",
          "99.0", "100.0", "99.6",  "99.3",  "NA",    "NA",    "NA",    "99.9",
          "99.7", "100.3", "101.2", "101.9", "100.4", "102.6", "100.9", "101.5"},
         {-0.356919366112111, -0.883889320267148, -0.192474841411238, 1.433283527790481},
         {0.879439535886907, 0.720858836552381, 0.581694576268695, 1.539019187802073},
         3.25,
         1.65364994785397,
         1.48401364289252,
         0,
         nullptr},
        {"an analyst without a day of two results",
         3,
         2,
         2,
         {"10.1", "10.3", "10.2", "10.6", "10.4", "NA", "NA", "10.2", "9.9", "10.0", "10.3",
          "10.1"},
         {0.57735026918963, 0.57735026918963, -1.15470053837925},
         {0, 0, 0},
         4.0 / 3,
         1.69267436572030,
         1.59880843066061,
         2,
         "Sin k de Mandel: el analista 2 no tiene ningún día con dos resultados o más."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MandelStatistics mandel = ComputeMandel(ReadStudyValues(
            testing::StudyWithResults(c.analysts, c.days, c.replicates, c.results), '.'));
        ASSERT_EQ(mandel.analysts.size(), c.h.size());
        for (std::size_t index = 0; index < c.h.size(); ++index) {
            EXPECT_NEAR(mandel.analysts[index].h, c.h[index], 1e-9) << index + 1;
            EXPECT_NEAR(mandel.analysts[index].k, c.k[index], 1e-9) << index + 1;
        }
        EXPECT_NEAR(mandel.nu, c.nu, 1e-12);
        EXPECT_NEAR(mandel.k1, c.k1, 1e-9);
        EXPECT_NEAR(mandel.k5, c.k5, 1e-9);
        EXPECT_EQ(mandel.analystWithoutK, c.analystWithoutK);
        const auto withoutK = MandelKAbsence(mandel);
        EXPECT_EQ(withoutK.value_or(""), c.withoutK ? c.withoutK : "");
    }
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
