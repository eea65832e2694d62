// Expected figures were computed apart from this code: the expected mean squares, degrees of
// freedom, bound and closed-form probability in multiple-precision arithmetic (mpmath, quantiles
// by bisection on the regularized incomplete gamma function), the intermediate precision's
// probability by a Monte-Carlo run of 400 000 studies with its own generator, and the worked
// example's components from its results in exact fractions.
#include "engine/StudyPlanner.h"
#include "study/Numbers.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orbeta {
namespace {

// A lab's expectation: the SDs of a method around 100 and the limits in percent.
PlanInputs Expected(std::optional<double> limitRepeatability,
                    std::optional<double> limitIntermediate, double probability = 90) {
    PlanInputs inputs;
    inputs.mean = 100;
    inputs.sdRepeatability = 0.4;
    inputs.sdDay = 0.3;
    inputs.sdAnalyst = 0.5;
    inputs.limitRepeatability = limitRepeatability;
    inputs.limitIntermediate = limitIntermediate;
    inputs.probability = probability;
    return inputs;
}

const PlannedDesign& DesignOf(const StudyPlan& plan, int analysts, int days, int replicates) {
    for (const PlannedDesign& design : plan.designs) {
        if (design.analysts == analysts && design.days == days && design.replicates == replicates) {
            return design;
        }
    }
    throw std::logic_error("no such design");
}

std::string Shown(double value) {
    return FormatResult(value, '.');
}

TEST(StudyPlannerTest, InputsAreReadWithTheSeparatorAndEachBadFieldIsNamed) {
    const PlanTexts good{"100,5", "0,4", "0", " 0,25 ", "1,5", "", "95"};
    struct Case {
        const char* what;
        PlanTexts texts;
        PlanField field;
        const char* message;
    };
    const auto with = [&good](auto change) {
        PlanTexts texts = good;
        change(texts);
        return texts;
    };
    const Case cases[] = {
        {"mean empty", with([](PlanTexts& t) { t.mean = ""; }), PlanField::Mean,
         "El promedio esperado debe ser un número mayor que cero."},
        {"mean zero", with([](PlanTexts& t) { t.mean = "0"; }), PlanField::Mean,
         "El promedio esperado debe ser un número mayor que cero."},
        {"mean with the other separator", with([](PlanTexts& t) { t.mean = "100.5"; }),
         PlanField::Mean, "El promedio esperado debe ser un número mayor que cero."},
        {"repeatability zero", with([](PlanTexts& t) { t.sdRepeatability = "0"; }),
         PlanField::SdRepeatability,
         "La desviación estándar de repetibilidad debe ser un número mayor que cero."},
        {"day negative", with([](PlanTexts& t) { t.sdDay = "-0,1"; }), PlanField::SdDay,
         "La desviación estándar entre días debe ser un número mayor o igual que cero."},
        {"analyst not a number", with([](PlanTexts& t) { t.sdAnalyst = "x"; }),
         PlanField::SdAnalyst,
         "La desviación estándar entre analistas debe ser un número mayor o igual que cero."},
        {"repeatability limit zero", with([](PlanTexts& t) { t.limitRepeatability = "0"; }),
         PlanField::LimitRepeatability,
         "El límite de la repetibilidad debe ser un número mayor que cero."},
        {"intermediate limit not a number", with([](PlanTexts& t) { t.limitIntermediate = "a"; }),
         PlanField::LimitIntermediate,
         "El límite de la precisión intermedia debe ser un número mayor que cero."},
        {"limit with the other separator", with([](PlanTexts& t) { t.limitIntermediate = "2.5"; }),
         PlanField::LimitIntermediate, "Escriba el límite con la coma decimal: 2,5."},
        {"no limit", with([](PlanTexts& t) { t.limitRepeatability = "  "; }),
         PlanField::LimitRepeatability,
         "Indique al menos un límite: el de la repetibilidad o el de la precisión intermedia."},
        {"probability 100", with([](PlanTexts& t) { t.probability = "100"; }),
         PlanField::Probability,
         "La probabilidad deseada debe ser un número mayor que 0 y menor que 100."},
        {"probability 0", with([](PlanTexts& t) { t.probability = "0"; }), PlanField::Probability,
         "La probabilidad deseada debe ser un número mayor que 0 y menor que 100."},
        // Magnitudes whose squares leave a double: named before any figure overflows.
        {"mean too large", with([](PlanTexts& t) { t.mean = "1E101"; }), PlanField::Mean,
         "El promedio esperado debe estar entre 1E-100 y 1E100."},
        {"repeatability 1e200", with([](PlanTexts& t) { t.sdRepeatability = "1E200"; }),
         PlanField::SdRepeatability,
         "La desviación estándar de repetibilidad debe estar entre 1E-100 y 1E100."},
        {"repeatability 1e-200, the others zero", with([](PlanTexts& t) {
             t.sdRepeatability = "1E-200";
             t.sdAnalyst = "0";
         }),
         PlanField::SdRepeatability,
         "La desviación estándar de repetibilidad debe estar entre 1E-100 y 1E100."},
        {"day 1e200", with([](PlanTexts& t) { t.sdDay = "1E200"; }), PlanField::SdDay,
         "La desviación estándar entre días debe ser cero o estar entre 1E-100 y 1E100."},
        {"analyst 1e-200", with([](PlanTexts& t) { t.sdAnalyst = "1E-200"; }), PlanField::SdAnalyst,
         "La desviación estándar entre analistas debe ser cero o estar entre 1E-100 y 1E100."},
    };
    for (const Case& c : cases) {
        const auto read = ReadPlanInputs(c.texts, ',');
        ASSERT_TRUE(std::holds_alternative<PlanInputFailure>(read)) << c.what;
        EXPECT_EQ(std::get<PlanInputFailure>(read).field, c.field) << c.what;
        EXPECT_EQ(std::get<PlanInputFailure>(read).message, c.message) << c.what;
    }

    const auto read = ReadPlanInputs(with([](PlanTexts& t) { t.probability = "99,9"; }), ',');
    ASSERT_TRUE(std::holds_alternative<PlanInputs>(read));
    const PlanInputs& inputs = std::get<PlanInputs>(read);
    EXPECT_EQ(inputs.mean, 100.5);
    EXPECT_EQ(inputs.sdRepeatability, 0.4);
    EXPECT_EQ(inputs.sdDay, 0);
    EXPECT_EQ(inputs.sdAnalyst, 0.25);
    EXPECT_EQ(inputs.limitRepeatability, 1.5);
    EXPECT_EQ(inputs.limitIntermediate, std::nullopt);
    EXPECT_EQ(inputs.probability, 99.9);
}

// 3 x 4 x 2 with mean 100, SDs 0.4, 0.3 and 0.5, limits 0.5 % and 1.2 %; 6 x 3 x 2 for the
// simulated intermediate precision.
TEST(StudyPlannerTest, AReferenceDesignMatchesAnIndependentComputation) {
    const StudyPlan plan = PlanStudy(Expected(0.5, 1.2));
    const PlannedDesign& design = DesignOf(plan, 3, 4, 2);
    EXPECT_EQ(design.determinations, 24);
    EXPECT_EQ((std::vector<std::string>{Shown(design.expected.analyst), Shown(design.expected.day),
                                        Shown(design.expected.error), Shown(design.satterthwaiteDf),
                                        Shown(design.boundRatio), Shown(*design.pRepeatability)}),
              (std::vector<std::string>{"2.34", "0.34", "0.16", "5.54106", "3.43958", "22.7947"}));

    const double reference = 0.5319425; // of 400 000 studies
    const double n = kPlanSimulatedStudies;
    const double tolerance = 4 * std::sqrt(reference * (1 - reference) * (1 / n + 1 / 400000.0));
    EXPECT_NEAR(*DesignOf(plan, 6, 3, 2).pIntermediate / 100, reference, tolerance);
}

// The simulation judges the repeatability of each simulated study as the acceptance figures
// do; its share must stay within four standard errors of the closed form, across designs whose
// probability runs from low to high.
TEST(StudyPlannerTest, TheSimulatedRepeatabilityAgreesWithTheClosedForm) {
    struct Case {
        int analysts, days, replicates;
        double limit;
    };
    const Case cases[] = {{2, 2, 2, 0.5},    {3, 4, 2, 0.5}, {5, 5, 3, 0.5},
                          {10, 10, 5, 0.45}, {2, 3, 5, 0.6}, {4, 2, 4, 0.42}};
    ChiSquareDraws draws(kPlanSimulatedStudies);
    for (const Case& c : cases) {
        const PlanInputs inputs = Expected(c.limit, 1.2);
        const DesignFactors factors = DesignFactorsOf(Design(c.analysts, c.days, c.replicates));
        const double closed = RepeatabilityProbability(inputs, factors);
        const double simulated =
            *SimulateDesign(inputs, factors, c.days, c.replicates, draws).repeatability / 100;
        const double error = std::sqrt(closed * (1 - closed) / kPlanSimulatedStudies);
        EXPECT_GT(closed, 0.02) << c.analysts << c.days << c.replicates;
        EXPECT_LT(closed, 0.98) << c.analysts << c.days << c.replicates;
        EXPECT_NEAR(simulated, closed, 4 * error) << c.analysts << c.days << c.replicates;
    }
}

TEST(StudyPlannerTest, MoreAnalystsOrALooserLimitNeverLoseGround) {
    const StudyPlan tight = PlanStudy(Expected(0.5, 1.1));
    const StudyPlan loose = PlanStudy(Expected(0.55, 1.3));
    ASSERT_EQ(tight.designs.size(), 324);
    for (const PlannedDesign& design : tight.designs) {
        const auto at = [&design](const StudyPlan& plan, int analysts) {
            return DesignOf(plan, analysts, design.days, design.replicates);
        };
        if (design.analysts < RangeOf(Count::Analysts).maximum) {
            EXPECT_GE(at(tight, design.analysts + 1).satterthwaiteDf, design.satterthwaiteDf);
        }
        const PlannedDesign& looser = at(loose, design.analysts);
        EXPECT_GE(*looser.pRepeatability, *design.pRepeatability);
        EXPECT_GE(*looser.pIntermediate, *design.pIntermediate);
        EXPECT_GE(looser.pAll, design.pAll);
        EXPECT_LE(design.pAll, std::min(*design.pRepeatability, *design.pIntermediate) + 2);
    }
}

// The order, the recommendation and its sentence, when a design reaches the probability, when
// none does, and run to run.
TEST(StudyPlannerTest, TheCheapestDesignThatReachesTheProbabilityIsRecommended) {
    const StudyPlan plan = PlanStudy(Expected(std::nullopt, 1.2));
    for (std::size_t index = 1; index < plan.designs.size(); ++index) {
        const PlannedDesign& before = plan.designs[index - 1];
        const PlannedDesign& after = plan.designs[index];
        EXPECT_LT(std::tie(before.determinations, before.analysts, before.days),
                  std::tie(after.determinations, after.analysts, after.days));
        if (index <= plan.recommended) {
            EXPECT_LT(before.pAll, 90) << index;
        }
    }
    ASSERT_TRUE(plan.reached);
    const PlannedDesign& chosen = plan.designs[plan.recommended];
    EXPECT_GE(chosen.pAll, 90);
    EXPECT_EQ(RecommendationSentence(plan, ','),
              "Se recomienda el diseño de " + std::to_string(chosen.analysts) + " analistas × " +
                  std::to_string(chosen.days) + " días × " + std::to_string(chosen.replicates) +
                  " replicaciones (" + std::to_string(chosen.determinations) +
                  " determinaciones): es el de menos determinaciones con una probabilidad de al "
                  "menos el 90 % de demostrar al 95 % que la precisión intermedia no pasa del 1,2 "
                  "% (" +
                  FormatResult(chosen.pAll, ',') + " %).");
    EXPECT_EQ(PlanStudy(Expected(std::nullopt, 1.2)).designs[plan.recommended].pAll, chosen.pAll);

    const StudyPlan unreachable = PlanStudy(Expected(0.41, std::nullopt, 99.5));
    ASSERT_FALSE(unreachable.reached);
    const PlannedDesign& closest = unreachable.designs[unreachable.recommended];
    EXPECT_EQ(closest.analysts * closest.days * closest.replicates, 500);
    EXPECT_EQ(RecommendationSentence(unreachable, '.'),
              "Ningún diseño de hasta 10 analistas, 10 días y 5 replicaciones llega a una "
              "probabilidad del 99.5 % de demostrar al 95 % que la repetibilidad no pasa del 0.41 "
              "%; el que más se acerca es el de 10 analistas × 10 días × 5 replicaciones (500 "
              "determinaciones), con el " +
                  FormatResult(closest.pAll, '.') + " %.");
}

// The wanted probability is reached by a design whose probability equals it: "at least".
TEST(StudyPlannerTest, AProbabilityEqualToTheWantedOneReachesIt) {
    for (const PlanInputs& inputs : {Expected(0.5, std::nullopt), Expected(0.5, 1.2)}) {
        const StudyPlan first = PlanStudy(inputs);
        ASSERT_TRUE(first.reached);
        PlanInputs exactly = inputs;
        exactly.probability = first.designs[first.recommended].pAll;
        const StudyPlan plan = PlanStudy(exactly);
        EXPECT_TRUE(plan.reached);
        EXPECT_EQ(plan.recommended, first.recommended);
    }
}

// When no design reaches the wanted probability and all share the highest one at the precision
// they have, the closest named is the cheapest, 2 x 2 x 2: the true RSD exactly at the limit
// (every closed form 5 %, apart by rounding), and a limit no study meets (all at 0 %).
TEST(StudyPlannerTest, TiesAtThePrecisionOfTheProbabilitiesGoToTheCheapestDesign) {
    const PlanInputs atTheLimit{50, 0.5, 0.3, 0.2, 1.0, std::nullopt, 90};
    PlanInputs unmet = Expected(std::nullopt, 0.01);
    for (const PlanInputs& inputs : {atTheLimit, unmet}) {
        const StudyPlan plan = PlanStudy(inputs);
        ASSERT_FALSE(plan.reached);
        const PlannedDesign& closest = plan.designs[plan.recommended];
        EXPECT_EQ(std::vector<int>({closest.analysts, closest.days, closest.replicates}),
                  std::vector<int>({2, 2, 2}));
    }
}

// P ambas is the repeatability's closed form times a conditional share, so it never exceeds
// P repetibilidad; each simulated probability carries its Monte-Carlo standard error.
TEST(StudyPlannerTest, BothNeverExceedsTheRepeatabilityAndEachSimulationHasItsError) {
    const StudyPlan plan = PlanStudy(Expected(0.5, 1.2));
    for (const PlannedDesign& design : plan.designs) {
        EXPECT_LE(design.pAll, *design.pRepeatability);
        const double p = *design.pIntermediate / 100;
        EXPECT_DOUBLE_EQ(design.seIntermediate,
                         100 * std::sqrt(p * (1 - p) / kPlanSimulatedStudies));
        EXPECT_GE(design.seAll, 0);
    }
}

TEST(StudyPlannerTest, TheStudysSpreadIsTakenAsTheExtendedAnalysisEstimatesIt) {
    const PlanInputs spread = ExpectedSpreadOf(testing::WorkedExample(), '.');
    EXPECT_EQ((std::vector<std::string>{Shown(spread.mean), Shown(spread.sdRepeatability),
                                        Shown(spread.sdDay), Shown(spread.sdAnalyst)}),
              (std::vector<std::string>{"99.6417", "0.415331", "0.277889", "0.32059"}));
}

} // namespace
} // namespace orbeta
