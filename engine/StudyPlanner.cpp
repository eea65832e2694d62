#include "engine/StudyPlanner.h"

#include "engine/CheckedMath.h"
#include "engine/Distributions.h"
#include "engine/ExtendedAnalysis.h"
#include "engine/Ucalculo.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <tuple>

namespace orbeta {

namespace {

constexpr double kPercent = 100.0;
constexpr double kSmallestMagnitude = 1e-100;
constexpr double kLargestMagnitude = 1e100;

long double Squared(long double value) {
    return value * value;
}

// A number typed into a field; nothing when the text is no number.
std::optional<double> NumberIn(const std::string& text, char decimalSeparator) {
    try {
        return ParseResult(text, decimalSeparator);
    } catch (const Error&) {
        return std::nullopt;
    }
}

// The Monte-Carlo standard error, in percent, of a share of `studies` simulated studies.
double StandardError(double percent, int studies) {
    const double p = percent / kPercent;
    return kPercent * std::sqrt(p * (1 - p) / studies);
}

// The verdict of one study against a limit is «Cumple».
bool Meets(double sd, double sdUpper, double mean, double limit) {
    return Decide(RelativeSd(sd, mean), RelativeSd(sdUpper, mean), limit) == Acceptance::Meets;
}

PlannedDesign Planned(const PlanInputs& inputs, const Design& counts, ChiSquareDraws& draws) {
    const DesignFactors factors = DesignFactorsOf(counts);
    const int days = counts.Days();
    const int replicates = counts.Replicates();
    PlannedDesign design;
    design.analysts = counts.Analysts();
    design.days = days;
    design.replicates = replicates;
    design.determinations = static_cast<int>(counts.ResultCount());
    design.expected = ExpectedMeanSquares(inputs, days, replicates);
    design.satterthwaiteDf = IntermediateDf(factors, design.expected);
    const long double trueVariance =
        Squared(inputs.sdRepeatability) + Squared(inputs.sdDay) + Squared(inputs.sdAnalyst);
    design.boundRatio = checked::Stored(checked::SquareRoot(
        checked::Divide(MlsUpperVariance(factors, design.expected), trueVariance)));
    if (inputs.limitRepeatability) {
        design.pRepeatability = kPercent * RepeatabilityProbability(inputs, factors);
    }
    if (inputs.limitIntermediate) {
        const SimulatedShares shares = SimulateDesign(inputs, factors, days, replicates, draws);
        design.pIntermediate = shares.intermediate;
        design.seIntermediate = StandardError(*shares.intermediate, draws.Studies());
        design.pAll = shares.all;
        design.seAll = shares.allStandardError;
    } else {
        design.pAll = *design.pRepeatability;
    }
    return design;
}

// How far a design's pAll may lie below a probability and still count as reaching it: its
// Monte-Carlo standard error when simulated, rounding (1e-9 relative) for the closed form.
double Precision(const PlannedDesign& design, double probability) {
    constexpr double kClosedFormPrecision = 1e-9;
    return design.pIntermediate ? design.seAll : kClosedFormPrecision * std::fabs(probability);
}

bool AtLeast(const PlannedDesign& design, double probability) {
    return design.pAll >= probability - Precision(design, probability);
}

// Against another design, at the precision of both.
bool AtLeast(const PlannedDesign& design, const PlannedDesign& other) {
    return design.pAll >=
           other.pAll - std::max(Precision(design, other.pAll), Precision(other, design.pAll));
}

bool InPlanOrder(const PlannedDesign& left, const PlannedDesign& right) {
    return std::tie(left.determinations, left.analysts, left.days) <
           std::tie(right.determinations, right.analysts, right.days);
}

// Every count of a design is at least 2, so each takes the plural.
std::string DesignText(const PlannedDesign& design) {
    return std::to_string(design.analysts) + " analistas × " + std::to_string(design.days) +
           " días × " + std::to_string(design.replicates) + " replicaciones (" +
           std::to_string(design.determinations) + " determinaciones)";
}

// What the probability is of: the limits the plan was given.
std::string LimitsText(const PlanInputs& inputs, char decimalSeparator) {
    const auto limit = [decimalSeparator](const char* measure, double value) {
        return std::string(measure) + " no pasa del " + FormatResult(value, decimalSeparator) +
               " %";
    };
    std::string text = "demostrar al 95 % que ";
    if (inputs.limitRepeatability) {
        text += limit("la repetibilidad", *inputs.limitRepeatability);
    }
    if (inputs.limitRepeatability && inputs.limitIntermediate) {
        text += " y ";
    }
    if (inputs.limitIntermediate) {
        text += limit("la precisión intermedia", *inputs.limitIntermediate);
    }
    return text;
}

} // namespace

std::variant<PlanInputs, PlanInputFailure> ReadPlanInputs(const PlanTexts& texts,
                                                          char decimalSeparator) {
    PlanField field = PlanField::Mean;
    // The number in a field when `accepted` takes it; otherwise the field's message.
    const auto number = [&](const std::string& text, PlanField at, auto accepted,
                            const char* message) {
        field = at;
        const std::optional<double> value = NumberIn(text, decimalSeparator);
        if (!value || !accepted(*value)) {
            throw Error(message);
        }
        return *value;
    };
    // A magnitude the figures can be computed from: squared, multiplied by a design's counts
    // and divided by one another, the mean and the standard deviations stay within a double.
    const auto workable = [](double value, const char* name, bool zeroAllowed) {
        if (value != 0 && (value < kSmallestMagnitude || value > kLargestMagnitude)) {
            throw Error(std::string(name) +
                        (zeroAllowed ? " debe ser cero o estar entre " : " debe estar entre ") +
                        FormatResult(kSmallestMagnitude, '.') + " y " +
                        FormatResult(kLargestMagnitude, '.') + ".");
        }
        return value;
    };
    const auto aboveZero = [](double value) { return value > 0; };
    const auto notNegative = [](double value) { return value >= 0; };
    try {
        PlanInputs inputs;
        inputs.mean = workable(number(texts.mean, PlanField::Mean, aboveZero,
                                      "El promedio esperado debe ser un número mayor que cero."),
                               "El promedio esperado", false);
        inputs.sdRepeatability = workable(
            number(texts.sdRepeatability, PlanField::SdRepeatability, aboveZero,
                   "La desviación estándar de repetibilidad debe ser un número mayor que cero."),
            "La desviación estándar de repetibilidad", false);
        inputs.sdDay = workable(
            number(texts.sdDay, PlanField::SdDay, notNegative,
                   "La desviación estándar entre días debe ser un número mayor o igual que cero."),
            "La desviación estándar entre días", true);
        inputs.sdAnalyst = workable(number(texts.sdAnalyst, PlanField::SdAnalyst, notNegative,
                                           "La desviación estándar entre analistas debe ser un "
                                           "número mayor o igual que cero."),
                                    "La desviación estándar entre analistas", true);
        field = PlanField::LimitRepeatability;
        // A limit is read as the extended analysis's limit fields read it, with their messages.
        inputs.limitRepeatability =
            TypedLimit(texts.limitRepeatability, decimalSeparator, LimitedMeasure::Repeatability);
        field = PlanField::LimitIntermediate;
        inputs.limitIntermediate =
            TypedLimit(texts.limitIntermediate, decimalSeparator, LimitedMeasure::Intermediate);
        if (!inputs.limitRepeatability && !inputs.limitIntermediate) {
            field = PlanField::LimitRepeatability;
            throw Error("Indique al menos un límite: el de la repetibilidad o el de la precisión "
                        "intermedia.");
        }
        inputs.probability = number(
            texts.probability, PlanField::Probability,
            [](double value) { return value > 0 && value < kPercent; },
            "La probabilidad deseada debe ser un número mayor que 0 y menor que 100.");
        return inputs;
    } catch (const Error& error) {
        return PlanInputFailure{field, error.what()};
    }
}

MeanSquares ExpectedMeanSquares(const PlanInputs& inputs, int days, int replicates) {
    const long double error = Squared(inputs.sdRepeatability);
    const long double day = error + replicates * Squared(inputs.sdDay);
    const long double analyst =
        day + static_cast<long double>(days) * replicates * Squared(inputs.sdAnalyst);
    return MeanSquares{checked::Stored(analyst), checked::Stored(day), checked::Stored(error)};
}

namespace {

// A uniform draw in (0, 1) from the generator's top 53 bits, never 0.
double Uniform(std::mt19937_64& generator) {
    return (static_cast<double>(generator() >> 11) + 0.5) * 0x1p-53;
}

// A standard normal draw by Marsaglia's polar method.
double Normal(std::mt19937_64& generator) {
    for (;;) {
        const double u = 2 * Uniform(generator) - 1;
        const double v = 2 * Uniform(generator) - 1;
        const double s = u * u + v * v;
        if (s < 1) {
            return u * std::sqrt(-2 * std::log(s) / s);
        }
    }
}

// A gamma draw of shape k >= 1 and scale 1, by Marsaglia and Tsang (2000).
double GammaAtLeastOne(double k, std::mt19937_64& generator) {
    const double d = k - 1.0 / 3;
    const double c = 1 / std::sqrt(9 * d);
    for (;;) {
        double x = 0;
        double v = 0;
        do {
            x = Normal(generator);
            v = 1 + c * x;
        } while (v <= 0);
        v = v * v * v;
        const double u = Uniform(generator);
        if (std::log(u) < 0.5 * x * x + d - d * v + d * std::log(v)) {
            return d * v;
        }
    }
}

// A chi-square draw on df degrees of freedom, twice a gamma of shape df/2; below shape 1 by
// Marsaglia and Tsang's boost, gamma(k + 1) U^(1/k).
double ChiSquareDraw(double df, std::mt19937_64& generator) {
    const double k = df / 2;
    if (k >= 1) {
        return 2 * GammaAtLeastOne(k, generator);
    }
    return 2 * GammaAtLeastOne(k + 1, generator) * std::pow(Uniform(generator), 1 / k);
}

} // namespace

const std::vector<double>& ChiSquareDraws::Of(int source, double df) {
    const auto key = std::pair{source, df};
    if (const auto found = m_draws.find(key); found != m_draws.end()) {
        return found->second;
    }
    std::seed_seq seed{static_cast<std::uint32_t>(kPlanSeed),
                       static_cast<std::uint32_t>(kPlanSeed >> 32),
                       static_cast<std::uint32_t>(source), static_cast<std::uint32_t>(df)};
    std::mt19937_64 generator(seed);
    std::vector<double> draws(static_cast<std::size_t>(m_studies));
    for (double& draw : draws) {
        draw = ChiSquareDraw(df, generator) / df;
    }
    return m_draws.emplace(key, std::move(draws)).first->second;
}

SimulatedShares SimulateDesign(const PlanInputs& inputs, const DesignFactors& factors, int days,
                               int replicates, ChiSquareDraws& draws) {
    const MeanSquares expected = ExpectedMeanSquares(inputs, days, replicates);
    const std::vector<double>& analystDraws = draws.Of(0, factors.df[0]);
    const std::vector<double>& dayDraws = draws.Of(1, factors.df[1]);
    const std::vector<double>& errorDraws = draws.Of(2, factors.df[2]);
    const int studies = draws.Studies();
    int repeatabilityMet = 0;
    int intermediateMet = 0;
    int allMet = 0;
    for (int study = 0; study < studies; ++study) {
        const auto at = static_cast<std::size_t>(study);
        const MeanSquares ms{expected.analyst * analystDraws[at], expected.day * dayDraws[at],
                             expected.error * errorDraws[at]};
        bool all = true;
        if (inputs.limitRepeatability) {
            const bool met =
                Meets(SdOf(ms.error), SdOf(RepeatabilityUpperVariance(factors, ms.error)),
                      inputs.mean, *inputs.limitRepeatability);
            repeatabilityMet += met;
            all = all && met;
        }
        if (inputs.limitIntermediate) {
            const bool met =
                Meets(SdOf(IntermediateVariance(factors, ms)), SdOf(MlsUpperVariance(factors, ms)),
                      inputs.mean, *inputs.limitIntermediate);
            intermediateMet += met;
            all = all && met;
        }
        allMet += all;
    }
    const auto share = [studies](int met) { return kPercent * met / studies; };
    SimulatedShares shares;
    if (inputs.limitRepeatability) {
        shares.repeatability = share(repeatabilityMet);
        // Given the repeatability's closed form, only the intermediate precision's share among
        // the studies whose repeatability meets is simulated: P(both) = P(rep) P(int | rep).
        const double closed = RepeatabilityProbability(inputs, factors);
        const double conditional =
            repeatabilityMet > 0 ? static_cast<double>(allMet) / repeatabilityMet : 0.0;
        shares.all = kPercent * closed * conditional;
        shares.allStandardError =
            repeatabilityMet > 0
                ? kPercent * closed * std::sqrt(conditional * (1 - conditional) / repeatabilityMet)
                : 0.0;
    } else {
        shares.all = share(allMet);
        shares.allStandardError = StandardError(shares.all, studies);
    }
    if (inputs.limitIntermediate) {
        shares.intermediate = share(intermediateMet);
    }
    return shares;
}

double RepeatabilityProbability(const PlanInputs& inputs, const DesignFactors& factors) {
    const double df = factors.df[2];
    // l, the limit in the results' units.
    const long double limit =
        static_cast<long double>(*inputs.limitRepeatability) * inputs.mean / kPercent;
    // chi2(0.05; df) is df over the factor of the one-sided bound.
    const long double x = checked::Divide(Squared(limit) * df, factors.repeatabilityUpper *
                                                                   Squared(inputs.sdRepeatability));
    if (x >= static_cast<long double>(std::numeric_limits<double>::max())) {
        return 1.0;
    }
    return boost::math::cdf(distributions::ChiSquared(df), static_cast<double>(x));
}

StudyPlan PlanStudy(const PlanInputs& inputs) {
    StudyPlan plan;
    plan.inputs = inputs;
    ChiSquareDraws draws(kPlanSimulatedStudies);
    ForEachDesignWithinRanges(
        [&](const Design& design) { plan.designs.push_back(Planned(inputs, design, draws)); });
    std::sort(plan.designs.begin(), plan.designs.end(), InPlanOrder);
    const auto reaching =
        std::find_if(plan.designs.begin(), plan.designs.end(),
                     [&inputs](const PlannedDesign& d) { return AtLeast(d, inputs.probability); });
    plan.reached = reaching != plan.designs.end();
    // When none reaches it, the closest is the first in plan order that no other design
    // surpasses beyond the precision of the two probabilities.
    const auto highest = std::max_element(
        plan.designs.begin(), plan.designs.end(),
        [](const PlannedDesign& a, const PlannedDesign& b) { return a.pAll < b.pAll; });
    const auto chosen =
        plan.reached ? reaching
                     : std::find_if(plan.designs.begin(), plan.designs.end(),
                                    [&](const PlannedDesign& d) { return AtLeast(d, *highest); });
    plan.recommended = static_cast<std::size_t>(chosen - plan.designs.begin());
    return plan;
}

std::vector<PlanColumn> PlanColumns(const StudyPlan& plan) {
    std::vector<PlanColumn> columns{
        {"Analistas", "analysts", [](const PlannedDesign& d) { return double(d.analysts); }},
        {"Días", "days", [](const PlannedDesign& d) { return double(d.days); }},
        {"Replicaciones", "replicates",
         [](const PlannedDesign& d) { return double(d.replicates); }},
        {"N", "determinations", [](const PlannedDesign& d) { return double(d.determinations); }},
        {"E[MC] analista", "expected_ms_analyst",
         [](const PlannedDesign& d) { return d.expected.analyst; }},
        {"E[MC] día", "expected_ms_day", [](const PlannedDesign& d) { return d.expected.day; }},
        {"E[MC] error", "expected_ms_error",
         [](const PlannedDesign& d) { return d.expected.error; }},
        {"gl Satterthwaite", "satterthwaite_df",
         [](const PlannedDesign& d) { return d.satterthwaiteDf; }},
        {"Cota MLS / DE", "bound_ratio", [](const PlannedDesign& d) { return d.boundRatio; }},
    };
    if (plan.inputs.limitRepeatability) {
        columns.push_back({"P repetibilidad (%)", "p_repeatability",
                           [](const PlannedDesign& d) { return *d.pRepeatability; }});
    }
    if (plan.inputs.limitIntermediate) {
        columns.push_back({"P intermedia (%)", "p_intermediate",
                           [](const PlannedDesign& d) { return *d.pIntermediate; }});
        columns.push_back({"EE P intermedia (%)", "se_p_intermediate",
                           [](const PlannedDesign& d) { return d.seIntermediate; }});
    }
    if (plan.inputs.limitRepeatability && plan.inputs.limitIntermediate) {
        columns.push_back({"P ambas (%)", "p_both", [](const PlannedDesign& d) { return d.pAll; }});
        columns.push_back(
            {"EE P ambas (%)", "se_p_both", [](const PlannedDesign& d) { return d.seAll; }});
    }
    return columns;
}

std::string RecommendationSentence(const StudyPlan& plan, char decimalSeparator) {
    const PlannedDesign& design = plan.designs[plan.recommended];
    const auto percent = [decimalSeparator](double value) {
        return FormatResult(value, decimalSeparator) + " %";
    };
    const std::string limits = LimitsText(plan.inputs, decimalSeparator);
    const std::string wanted = FormatResult(plan.inputs.probability, decimalSeparator) + " %";
    if (plan.reached) {
        return "Se recomienda el diseño de " + DesignText(design) +
               ": es el de menos determinaciones con una probabilidad de al menos el " + wanted +
               " de " + limits + " (" + percent(design.pAll) + ").";
    }
    return "Ningún diseño de hasta " + std::to_string(RangeOf(Count::Analysts).maximum) +
           " analistas, " + std::to_string(RangeOf(Count::Days).maximum) + " días y " +
           std::to_string(RangeOf(Count::Replicates).maximum) +
           " replicaciones llega a una probabilidad del " + wanted + " de " + limits +
           "; el que más se acerca es el de " + DesignText(design) + ", con el " +
           percent(design.pAll) + ".";
}

PlanInputs ExpectedSpreadOf(const Study& study, char decimalSeparator) {
    const std::vector<double> results = ReadResults(study, decimalSeparator);
    const StudyAnalysis analysis = AnalyseStudy(StudyNumbers(DesignOfResults(study), results));
    PlanInputs inputs;
    inputs.mean = analysis.precision.mean;
    inputs.sdRepeatability = analysis.extended.repeatability.sd;
    inputs.sdDay = analysis.extended.day.sd;
    inputs.sdAnalyst = analysis.extended.analyst.sd;
    return inputs;
}

} // namespace orbeta
