#include "qualification/Check.h"

#include "engine/UTs.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <utility>

namespace orbeta::qualification {

namespace {

const char* YesNo(bool flag) {
    return flag ? "sí" : "no";
}

// The shortest text that reads back as the same double.
std::string Shortest(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return {text.data(), end};
}

double NumberOf(std::string_view text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::optional<double> LimitOf(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional<double>(NumberOf(text));
}

FigureCheck Checked(const ExpectedFigure& expected, const ObtainedFigure* obtained) {
    FigureCheck check{expected.name, std::string(expected.expected), "—", std::nullopt, {}, false};
    switch (expected.comparison) {
    case Comparison::Lre:
        check.rule = "LRE ≥ " + std::to_string(expected.minimumLre);
        if (obtained != nullptr && obtained->text.empty()) {
            check.obtained = Shortest(obtained->value);
            check.lre =
                LogRelativeError(obtained->value, NumberOf(expected.expected), kKnownDigits);
            check.passed = *check.lre >= expected.minimumLre;
        }
        break;
    case Comparison::SixDigits:
        check.rule = "seis cifras";
        if (obtained != nullptr && obtained->text.empty()) {
            check.obtained = FormatResult(obtained->value, '.');
            check.passed = check.obtained == expected.expected;
        }
        break;
    case Comparison::SameText:
        check.rule = "mismo texto";
        if (obtained != nullptr && !obtained->text.empty()) {
            check.obtained = obtained->text;
            check.passed = check.obtained == expected.expected;
        }
        break;
    }
    return check;
}

} // namespace

StudyFigures FiguresOfStudy(const StudyNumbers& numbers, const AcceptanceLimits& limits) {
    StudyFigures figures;
    StatisticsEngine engine;
    engine.ComputeAnova(numbers, figures.anova);
    engine.ComputePrecision(numbers, figures.precision);
    figures.extended = ComputeExtendedAnalysis(numbers, figures.anova);
    figures.acceptance = Accept(figures.extended, limits);
    return figures;
}

std::vector<ObtainedFigure> ObtainedFigures(const StudyFigures& figures) {
    std::vector<ObtainedFigure> all;
    const auto number = [&all](std::string name, double value) {
        all.push_back({std::move(name), value, {}});
    };
    const auto text = [&all](std::string name, std::string value) {
        all.push_back({std::move(name), 0, std::move(value)});
    };
    const AnovaTable& anova = figures.anova;
    const ExtendedAnalysis& extended = figures.extended;
    const std::array<double, kAnovaSources> exactP{extended.pAnalystExact, extended.pDayExact, 0};
    constexpr std::array<const char*, kAnovaSources> kSources{"analyst", "day", "error"};
    constexpr std::array<const char*, 5> kColumns{"df", "ss", "ms", "f", "p"};
    for (const AnovaRow& row : AnovaRows(anova)) {
        const auto source = static_cast<std::size_t>(row.source);
        const std::string prefix = std::string("anova.") + kSources[source] + ".";
        for (std::size_t column = 0; column < row.count; ++column) {
            number(prefix + kColumns[column], row.values[column]);
        }
        if (row.Tested()) {
            number(prefix + "p_exact", exactP[source]);
        }
    }
    text("conclusions.analyst_effect", YesNo(DeclaresEffect(anova.pAnalyst)));
    text("conclusions.day_effect", YesNo(DeclaresEffect(anova.pDay)));
    text("conclusions.exact_conclusions_differ", YesNo(extended.exactConclusionsDiffer));
    number("precision.mean", figures.precision.mean);
    for (const PrecisionMeasure& measure : PrecisionMeasures(figures.precision)) {
        number(std::string("precision.") + measure.key, measure.value);
    }
    for (const auto& [name, component] :
         {std::pair{"repeatability", extended.repeatability}, std::pair{"day", extended.day},
          std::pair{"analyst", extended.analyst},
          std::pair{"intermediate", extended.intermediate}}) {
        const std::string prefix = std::string("components.") + name + ".";
        number(prefix + "variance", component.variance);
        number(prefix + "sd", component.sd);
        number(prefix + "cv", component.cv);
        number(prefix + "percent", component.percent);
    }
    for (const auto& [name, interval] :
         {std::pair{"repeatability", extended.repeatabilityInterval},
          std::pair{"intermediate", extended.intermediateInterval}}) {
        const std::string prefix = std::string("components.") + name + ".";
        number(prefix + "df", interval.df);
        number(prefix + "sd_low", interval.low);
        number(prefix + "sd_high", interval.high);
    }
    const RepeatabilityBounds& repeatability = extended.repeatabilityBounds;
    number("components.repeatability.sd_upper", repeatability.sdUpper);
    number("components.repeatability.rsd", repeatability.rsd);
    number("components.repeatability.rsd_upper", repeatability.rsdUpper);
    const IntermediateBounds& intermediate = extended.intermediateBounds;
    number("components.intermediate.sd_upper", intermediate.sdUpper);
    number("components.intermediate.rsd", intermediate.rsd);
    number("components.intermediate.mls_variance_low", intermediate.mlsVarianceLow);
    number("components.intermediate.mls_variance_high", intermediate.mlsVarianceHigh);
    number("components.intermediate.mls_sd_upper", intermediate.mlsSdUpper);
    number("components.intermediate.rsd_upper", intermediate.rsdUpper);
    const CochranTest& cochran = extended.cochran;
    number("cochran.c", cochran.c);
    number("cochran.critical_5", cochran.critical5);
    number("cochran.critical_1", cochran.critical1);
    text("cochran.verdict", VerdictText(cochran.verdict));
    number("cochran.analyst", cochran.largest.analyst);
    number("cochran.day", cochran.largest.day);
    number("grubbs.critical_5", extended.grubbs.critical5);
    number("grubbs.critical_1", extended.grubbs.critical1);
    for (const auto& [name, value] :
         {std::pair{"high", extended.grubbs.high}, std::pair{"low", extended.grubbs.low}}) {
        const std::string prefix = std::string("grubbs.") + name + ".";
        number(prefix + "g", value.g);
        text(prefix + "verdict", VerdictText(value.verdict));
        number(prefix + "analyst", value.day.analyst);
        number(prefix + "day", value.day.day);
    }
    text("flags.few_analysts", YesNo(extended.flags.fewAnalysts));
    text("flags.intervals_disagree", YesNo(extended.flags.intervalsDisagree));
    for (const auto& [name, acceptance] :
         {std::pair{"repeatability", figures.acceptance.repeatability},
          std::pair{"intermediate", figures.acceptance.intermediate}}) {
        if (acceptance) {
            text(std::string("acceptance.") + name + ".verdict",
                 AcceptanceText(acceptance->verdict));
        }
    }
    return all;
}

double LogRelativeError(double obtained, double expected, int digits) {
    if (obtained == expected) {
        return digits;
    }
    const double error =
        expected == 0 ? std::fabs(obtained) : std::fabs(obtained - expected) / std::fabs(expected);
    const double lre = -std::log10(error);
    return std::isnan(lre) ? 0 : std::clamp(lre, 0.0, static_cast<double>(digits));
}

int StudyCheck::Passed() const {
    return static_cast<int>(std::count_if(figures.begin(), figures.end(),
                                          [](const FigureCheck& figure) { return figure.passed; }));
}

StudyCheck CheckStudy(const ReferenceStudy& study) {
    StudyCheck check{&study, {}, {}};
    std::vector<ObtainedFigure> obtained;
    try {
        std::vector<double> results;
        std::vector<double> deviations;
        for (const std::string_view text : study.results) {
            results.push_back(ParseResult(text, '.'));
            deviations.push_back(ResultDifference(text, study.results.front(), '.'));
        }
        const StudyNumbers numbers{study.analysts, study.days, study.replicates, results,
                                   deviations};
        obtained = ObtainedFigures(FiguresOfStudy(
            numbers, {LimitOf(study.limitRepeatability), LimitOf(study.limitIntermediate)}));
    } catch (const std::exception& failure) {
        check.error = WithFullStop(failure.what());
    }
    for (const ExpectedFigure& expected : study.figures) {
        const auto found =
            std::find_if(obtained.begin(), obtained.end(), [&](const ObtainedFigure& figure) {
                return figure.name == expected.name;
            });
        check.figures.push_back(Checked(expected, found == obtained.end() ? nullptr : &*found));
    }
    return check;
}

} // namespace orbeta::qualification
