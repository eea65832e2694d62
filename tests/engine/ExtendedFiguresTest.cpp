// The codes beside the Spanish words are the machine reports' contract with scripts: each is
// checked against the word it stands for.
#include "engine/ExtendedFigures.h"
#include "study/Numbers.h"
#include "support/Expectations.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;

// Every word of the walk with its code, as "group/key=value".
std::vector<std::string> Words(const std::vector<FigureGroup>& groups) {
    std::vector<std::string> words;
    for (const FigureGroup& group : groups) {
        for (const Figure& figure : group.figures) {
            if (figure.unit == FigureUnit::Word) {
                words.push_back(std::string(group.key) + "/" + figure.key + "=" +
                                std::get<const char*>(figure.value));
            }
        }
    }
    return words;
}

TEST(ExtendedFigureGroups, GiveEachVerdictAndConclusionItsCode) {
    struct Case {
        const char* name;
        double pAnalyst, pAnalystExact, pDay, pDayExact;
        Verdict cochran, high, low;
        std::optional<Acceptance> repeatability, intermediate;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"no effect, every day correct, no limit",
         0.06,
         0.05,
         0.5,
         0.9,
         Verdict::Correct,
         Verdict::Correct,
         Verdict::Correct,
         std::nullopt,
         std::nullopt,
         {"anova/analyst/conclusion=sin efecto", "anova/analyst/conclusion_code=no_effect",
          "anova/analyst/conclusion_exact=sin efecto",
          "anova/analyst/conclusion_exact_code=no_effect", "anova/day/conclusion=sin efecto",
          "anova/day/conclusion_code=no_effect", "anova/day/conclusion_exact=sin efecto",
          "anova/day/conclusion_exact_code=no_effect", "cochran/verdict=correcto",
          "cochran/verdict_code=correct", "grubbs/days/high/verdict=correcto",
          "grubbs/days/high/verdict_code=correct", "grubbs/days/low/verdict=correcto",
          "grubbs/days/low/verdict_code=correct"}},
        {"effects, flagged days, both limits",
         0.049,
         0.06,
         0.001,
         0.002,
         Verdict::Outlier,
         Verdict::Straggler,
         Verdict::Outlier,
         Acceptance::MeetsUnproven,
         Acceptance::Fails,
         {"anova/analyst/conclusion=con efecto", "anova/analyst/conclusion_code=effect",
          "anova/analyst/conclusion_exact=sin efecto",
          "anova/analyst/conclusion_exact_code=no_effect", "anova/day/conclusion=con efecto",
          "anova/day/conclusion_code=effect", "anova/day/conclusion_exact=con efecto",
          "anova/day/conclusion_exact_code=effect", "cochran/verdict=aberrante",
          "cochran/verdict_code=outlier", "grubbs/days/high/verdict=dudoso",
          "grubbs/days/high/verdict_code=straggler", "grubbs/days/low/verdict=aberrante",
          "grubbs/days/low/verdict_code=outlier",
          "acceptance/repeatability/verdict=Cumple sin demostrarlo al 95 %",
          "acceptance/repeatability/verdict_code=meets_unproven",
          "acceptance/intermediate/verdict=No cumple",
          "acceptance/intermediate/verdict_code=fails"}},
        {"the intermediate limit alone, met",
         0.5,
         0.5,
         0.5,
         0.5,
         Verdict::Correct,
         Verdict::Correct,
         Verdict::Correct,
         std::nullopt,
         Acceptance::Meets,
         {"anova/analyst/conclusion=sin efecto", "anova/analyst/conclusion_code=no_effect",
          "anova/analyst/conclusion_exact=sin efecto",
          "anova/analyst/conclusion_exact_code=no_effect", "anova/day/conclusion=sin efecto",
          "anova/day/conclusion_code=no_effect", "anova/day/conclusion_exact=sin efecto",
          "anova/day/conclusion_exact_code=no_effect", "cochran/verdict=correcto",
          "cochran/verdict_code=correct", "grubbs/days/high/verdict=correcto",
          "grubbs/days/high/verdict_code=correct", "grubbs/days/low/verdict=correcto",
          "grubbs/days/low/verdict_code=correct", "acceptance/intermediate/verdict=Cumple",
          "acceptance/intermediate/verdict_code=meets"}},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.name);
        AnovaTable anova;
        anova.pAnalyst = tested.pAnalyst;
        anova.pDay = tested.pDay;
        ExtendedAnalysis analysis;
        analysis.pAnalystExact = tested.pAnalystExact;
        analysis.pDayExact = tested.pDayExact;
        analysis.cochran.verdict = tested.cochran;
        analysis.grubbs.extremeDays = GrubbsTest{};
        analysis.grubbs.extremeDays->high.verdict = tested.high;
        analysis.grubbs.extremeDays->low.verdict = tested.low;
        AcceptanceResult acceptance;
        if (tested.repeatability) {
            acceptance.repeatability = AcceptanceFigures{1, 1, 1, *tested.repeatability};
        }
        if (tested.intermediate) {
            acceptance.intermediate = AcceptanceFigures{1, 1, 1, *tested.intermediate};
        }
        EXPECT_EQ(Words(ExtendedFigureGroups(anova, analysis, acceptance)), tested.expected);
    }
}

// The tables read off the walk lose what a study with results missing cannot give: the
// analyst's F test (its row of the F tests, its F and P in the analysis of variance), the MLS
// columns, Cochran's row; a complete study keeps them all.
TEST(FigureTableOf, LeavesOutTheFiguresAStudyCannotGive) {
    AnovaTable anova;
    anova.dfAnalyst = 2;
    anova.fAnalyst = 3;
    anova.pAnalyst = 0.5;
    anova.dfDay = 4;
    anova.fDay = 5;
    anova.pDay = 0.01;
    ExtendedAnalysis analysis;
    analysis.pAnalystExact = 0.25;
    analysis.pDayExact = 0.02;
    analysis.intermediateInterval = {7, 1, 2};
    analysis.intermediateBounds.mlsVarianceLow = 0.5;
    analysis.intermediateBounds.mlsVarianceHigh = 9;
    analysis.intermediateBounds.mlsSdUpper = 3;
    analysis.intermediateBounds.sdUpper = 2.5;
    struct Case {
        const char* name;
        AbsentFigures absent;
        FigureTableKind kind;
        std::vector<std::string> headings;
        std::vector<std::vector<std::string>> rows;
    };
    const Case cases[] = {
        {"F tests of a complete study",
         {},
         FigureTableKind::FTests,
         {"Fuente", "F", "P aproximada", "P exacta", "Conclusión con la P aproximada",
          "Conclusión con la P exacta"},
         {{"Analista", "3", "0.5", "0.25", "sin efecto", "sin efecto"},
          {"Día", "5", "0.01", "0.02", "con efecto", "con efecto"}}},
        {"F tests without the analyst's",
         {.analystTest = true},
         FigureTableKind::FTests,
         {"Fuente", "F", "P aproximada", "P exacta", "Conclusión con la P aproximada",
          "Conclusión con la P exacta"},
         {{"Día", "5", "0.01", "0.02", "con efecto", "con efecto"}}},
        {"intervals without the MLS figures",
         {.mls = true},
         FigureTableKind::Intervals,
         {"Medida", "gl", "IC 95 % de la DE, inferior", "IC 95 % de la DE, superior",
          "Cota superior 95 % de la DE"},
         {{"Repetibilidad", "0", "0", "0", "0"}, {"Precisión intermedia", "7", "1", "2", "2.5"}}},
        {"consistency without Cochran",
         {.cochran = true},
         FigureTableKind::Consistency,
         {"Prueba"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FigureTable table =
            FigureTableOf(WithoutAbsentFigures(ExtendedFigureGroups(anova, analysis, {}), c.absent),
                          LayoutOf(c.kind), '.');
        EXPECT_EQ(table.headings, c.headings);
        EXPECT_EQ(table.rows, c.rows);
    }
}

TEST(ComponentsSetToZeroOf, NamesTheComponentsWhoseEstimateWasNegative) {
    struct Case {
        double msAnalyst, msDay, msError;
        bool day, analyst;
    };
    const Case cases[] = {
        {3, 2, 1, false, false},
        {3, 1, 2, true, false},
        {1, 2, 1.5, false, true},
        {1, 1.5, 2, true, true},
        // An estimate of exactly zero was not set to it.
        {2, 2, 2, false, false},
    };
    for (const Case& tested : cases) {
        AnovaTable anova;
        anova.msAnalyst = tested.msAnalyst;
        anova.msDay = tested.msDay;
        anova.msError = tested.msError;
        const ComponentsSetToZero zeroed = ComponentsSetToZeroOf(anova);
        EXPECT_EQ(std::pair(zeroed.day, zeroed.analyst), std::pair(tested.day, tested.analyst))
            << tested.msAnalyst << " " << tested.msDay << " " << tested.msError;
    }
}

TEST(TypedLimit, ReadsTheRegionalSeparatorAndSaysHowToWriteTheOther) {
    const std::string repeatability =
        "El límite de la repetibilidad debe ser un número mayor que cero.";
    const std::string intermediate =
        "El límite de la precisión intermedia debe ser un número mayor que cero.";
    struct Case {
        const char* text;
        char separator;
        LimitedMeasure measure;
        std::string expected; // the limit as FormatResult shows it with ".", "none", or a message
    };
    const Case cases[] = {
        {"2,5", ',', LimitedMeasure::Repeatability, "2.5"},
        {" 2,5 ", ',', LimitedMeasure::Repeatability, "2.5"},
        {"2.5", '.', LimitedMeasure::Intermediate, "2.5"},
        {"", ',', LimitedMeasure::Repeatability, "none"},
        {"   ", '.', LimitedMeasure::Intermediate, "none"},
        {"2.5", ',', LimitedMeasure::Repeatability, "Escriba el límite con la coma decimal: 2,5."},
        {" 0.75 ", ',', LimitedMeasure::Intermediate,
         "Escriba el límite con la coma decimal: 0,75."},
        {"2,5", '.', LimitedMeasure::Repeatability, "Escriba el límite con el punto decimal: 2.5."},
        // Not above zero, or no number with either separator: the limit's own message.
        {"-2.5", ',', LimitedMeasure::Repeatability, repeatability},
        {"0.0", ',', LimitedMeasure::Intermediate, intermediate},
        {"1.000,5", ',', LimitedMeasure::Intermediate, intermediate},
        {"uno", '.', LimitedMeasure::Intermediate, intermediate},
        {"0", '.', LimitedMeasure::Repeatability, repeatability},
    };
    for (const Case& tested : cases) {
        std::string shown;
        const std::string error = ErrorOf([&] {
            const std::optional<double> limit =
                TypedLimit(tested.text, tested.separator, tested.measure);
            shown = limit ? FormatResult(*limit, '.') : "none";
        });
        EXPECT_EQ(error == "no error" ? shown : error, tested.expected)
            << "'" << tested.text << "' " << tested.separator;
    }
}

} // namespace
} // namespace orbeta
