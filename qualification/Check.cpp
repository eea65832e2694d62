#include "qualification/Check.h"

#include "engine/ExtendedFigures.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "study/Study.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <type_traits>
#include <utility>
#include <variant>

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

std::optional<double> LimitFromText(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional<double>(NumberOf(text));
}

FigureCheck Checked(const ExpectedFigure& expected, const ObtainedFigure* obtained) {
    FigureCheck check{
        std::string(expected.name), std::string(expected.expected), "—", std::nullopt, {}, false};
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

StudyAnalysis FiguresOfStudy(const StudyNumbers& numbers, const AcceptanceLimits& limits) {
    return AnalyseStudy(numbers, limits);
}

std::vector<ObtainedFigure> ObtainedFigures(const StudyAnalysis& figures) {
    std::vector<ObtainedFigure> all;
    for (const FigureGroup& group : WithoutAbsentFigures(
             ExtendedFigureGroups(figures.anova, figures.extended, figures.acceptance),
             figures.extended.absent)) {
        std::string prefix = std::string(group.key) + ".";
        std::replace(prefix.begin(), prefix.end(), '/', '.');
        for (const Figure& figure : group.figures) {
            ObtainedFigure obtained{prefix + figure.key, 0, {}};
            std::visit(
                [&obtained](const auto& value) {
                    using Value = std::decay_t<decltype(value)>;
                    if constexpr (std::is_same_v<Value, bool>) {
                        obtained.text = YesNo(value);
                    } else if constexpr (std::is_same_v<Value, const char*>) {
                        obtained.text = value;
                    } else {
                        obtained.value = value;
                    }
                },
                figure.value);
            all.push_back(std::move(obtained));
        }
    }
    all.push_back({"precision.mean", figures.precision.mean, {}});
    for (const PrecisionMeasure& measure : PrecisionMeasures(figures.precision)) {
        all.push_back({std::string("precision.") + measure.key, measure.value, {}});
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
        // A result marked missing holds a NaN its design marks; the deviations are taken from
        // the first result held.
        Design design(study.analysts, study.days, study.replicates);
        const auto held =
            std::find_if_not(study.results.begin(), study.results.end(),
                             [](std::string_view text) { return IsMissingResult(text); });
        std::vector<double> results;
        std::vector<double> deviations;
        for (std::size_t index = 0; index < study.results.size(); ++index) {
            const std::string_view text = study.results[index];
            if (IsMissingResult(text)) {
                const auto replicates = static_cast<std::size_t>(study.replicates);
                const auto days = static_cast<std::size_t>(study.days);
                design.MarkMissing({static_cast<int>(index / (days * replicates)) + 1,
                                    static_cast<int>(index / replicates % days) + 1,
                                    static_cast<int>(index % replicates) + 1});
                results.push_back(std::numeric_limits<double>::quiet_NaN());
                deviations.push_back(std::numeric_limits<double>::quiet_NaN());
            } else {
                results.push_back(ParseResult(text, '.'));
                deviations.push_back(ResultDifference(text, *held, '.'));
            }
        }
        const StudyNumbers numbers(design, results, deviations);
        obtained =
            ObtainedFigures(FiguresOfStudy(numbers, {LimitFromText(study.limitRepeatability),
                                                     LimitFromText(study.limitIntermediate)}));
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
    if (study.everyFigure) {
        for (const ObtainedFigure& figure : obtained) {
            if (std::none_of(
                    study.figures.begin(), study.figures.end(),
                    [&](const ExpectedFigure& expected) { return expected.name == figure.name; })) {
                check.figures.push_back({figure.name, "—",
                                         figure.text.empty() ? Shortest(figure.value) : figure.text,
                                         std::nullopt, "no esperada", false});
            }
        }
    }
    return check;
}

} // namespace orbeta::qualification
