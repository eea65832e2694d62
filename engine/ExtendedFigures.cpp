#include "engine/ExtendedFigures.h"

#include "engine/UTs.h"
#include "study/Numbers.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <tuple>
#include <utility>

namespace orbeta {

namespace {

using U = FigureUnit;

const char* EffectCode(double probability) {
    return DeclaresEffect(probability) ? "effect" : "no_effect";
}

const char* VerdictCode(Verdict verdict) {
    switch (verdict) {
    case Verdict::Straggler:
        return "straggler";
    case Verdict::Outlier:
        return "outlier";
    case Verdict::Correct:
        break;
    }
    return "correct";
}

const char* AcceptanceCode(Acceptance acceptance) {
    switch (acceptance) {
    case Acceptance::MeetsUnproven:
        return "meets_unproven";
    case Acceptance::Fails:
        return "fails";
    case Acceptance::Meets:
        break;
    }
    return "meets";
}

// Each source's figures in the table's order, then, for a tested source, the exact probability
// and the conclusion of each probability.
void AddAnova(std::vector<FigureGroup>& groups, const AnovaTable& anova,
              const ExtendedAnalysis& analysis) {
    constexpr std::array<const char*, kAnovaSources> keys = {"anova/analyst", "anova/day",
                                                             "anova/error"};
    constexpr std::array<const char*, kAnovaSources> labels = {"Analista", "Día", "Error"};
    constexpr std::array<Figure, 5> columns = {
        Figure{"df", "gl", 0.0, U::DegreesOfFreedom}, Figure{"ss", "SC", 0.0, U::SumOfSquares},
        Figure{"ms", "CM", 0.0, U::SumOfSquares}, Figure{"f", "F", 0.0, U::Statistic},
        Figure{"p", "P aproximada", 0.0, U::Probability}};
    const std::array<double, 2> exact = {analysis.pAnalystExact, analysis.pDayExact};
    for (const AnovaRow& row : AnovaRows(anova)) {
        const auto source = static_cast<std::size_t>(row.source);
        FigureGroup& group = groups.emplace_back(FigureGroup{keys[source], labels[source], {}});
        for (std::size_t index = 0; index < row.Figures().size(); ++index) {
            Figure figure = columns[index];
            figure.value = row.Figures()[index];
            group.figures.push_back(figure);
        }
        if (row.Tested()) {
            const double approximate = row.Figures().back();
            group.figures.insert(
                group.figures.end(),
                {{"p_exact", "P exacta", exact[source], U::Probability},
                 {"conclusion", "Conclusión con la P aproximada", EffectText(approximate), U::Word},
                 {"conclusion_code", "", EffectCode(approximate), U::Word},
                 {"conclusion_exact", "Conclusión con la P exacta", EffectText(exact[source]),
                  U::Word},
                 {"conclusion_exact_code", "", EffectCode(exact[source]), U::Word}});
        }
    }
}

std::vector<Figure> ComponentFigures(const VarianceComponent& component) {
    return {{"variance", "Varianza", component.variance, U::Variance},
            {"sd", "DE", component.sd, U::Result},
            {"cv", "RSD (%)", component.cv, U::Percent},
            {"percent", "% del total", component.percent, U::Percent}};
}

// A component with its interval, then its bounds.
std::vector<Figure> ComponentFigures(const VarianceComponent& component, const SdInterval& interval,
                                     std::initializer_list<Figure> bounds) {
    std::vector<Figure> figures = ComponentFigures(component);
    figures.insert(figures.end(),
                   {{"df", "gl", interval.df, U::DegreesOfFreedom},
                    {"sd_low", "IC 95 % de la DE, inferior", interval.low, U::Result},
                    {"sd_high", "IC 95 % de la DE, superior", interval.high, U::Result}});
    figures.insert(figures.end(), bounds);
    return figures;
}

std::vector<Figure> VerdictFigures(Verdict verdict, const DayOfAnalyst& day) {
    return {{"verdict", "Veredicto", VerdictText(verdict), U::Word},
            {"verdict_code", "", VerdictCode(verdict), U::Word},
            {"analyst", "Analista", day.analyst, U::Position},
            {"day", "Día", day.day, U::Position}};
}

// An analyst's mean names no day.
std::vector<Figure> GrubbsFigures(const GrubbsValue& value) {
    std::vector<Figure> figures{{"g", "Estadístico", value.g, U::Statistic}};
    std::vector<Figure> verdict = VerdictFigures(value.verdict, value.day);
    if (value.day.day == 0) {
        verdict.pop_back();
    }
    figures.insert(figures.end(), verdict.begin(), verdict.end());
    return figures;
}

// The groups of one level's Grubbs test, and the row labels of its two extremes.
struct GrubbsLevel {
    const char* key;
    const char* highKey;
    const char* lowKey;
    const char* highLabel;
    const char* lowLabel;
};

// One level's Grubbs test, when the design has one: its critical values, then its highest and
// lowest mean.
void AddGrubbs(std::vector<FigureGroup>& groups, const std::optional<GrubbsTest>& test,
               const GrubbsLevel& level) {
    if (!test) {
        return;
    }
    groups.push_back({level.key,
                      "Grubbs",
                      {{"critical_5", "Crítico 5 %", test->critical5, U::Statistic},
                       {"critical_1", "Crítico 1 %", test->critical1, U::Statistic}}});
    groups.push_back({level.highKey, level.highLabel, GrubbsFigures(test->high)});
    groups.push_back({level.lowKey, level.lowLabel, GrubbsFigures(test->low)});
}

} // namespace

const Figure* FigureGroup::Find(std::string_view figureKey) const {
    const auto found = std::find_if(figures.begin(), figures.end(),
                                    [figureKey](const Figure& f) { return f.key == figureKey; });
    return found == figures.end() ? nullptr : &*found;
}

const FigureGroup* FindGroup(const std::vector<FigureGroup>& groups, std::string_view key) {
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [key](const FigureGroup& group) { return group.key == key; });
    return found == groups.end() ? nullptr : &*found;
}

std::vector<FigureGroup> WithoutAbsentFigures(std::vector<FigureGroup> groups,
                                              const AbsentFigures& absent) {
    const auto erase = [&groups](std::string_view groupKey,
                                 std::initializer_list<std::string_view> keys) {
        for (FigureGroup& group : groups) {
            if (group.key == groupKey) {
                std::erase_if(group.figures, [&keys](const Figure& figure) {
                    return std::find(keys.begin(), keys.end(), figure.key) != keys.end();
                });
            }
        }
    };
    if (absent.analystTest) {
        erase("anova/analyst", {"f", "p", "p_exact", "conclusion", "conclusion_code",
                                "conclusion_exact", "conclusion_exact_code"});
    }
    if (absent.mls) {
        erase("components/intermediate", {"mls_variance_low", "mls_variance_high", "mls_sd_upper"});
    }
    if (absent.cochran) {
        std::erase_if(groups, [](const FigureGroup& group) {
            return std::string_view(group.key) == "cochran";
        });
    }
    return groups;
}

const FigureTableLayout& LayoutOf(FigureTableKind kind) {
    static const std::array<FigureTableLayout, 5> layouts = {{
        {"Componente",
         {{"components/repeatability"},
          {"components/day"},
          {"components/analyst"},
          {"components/intermediate"}},
         {{"variance"}, {"sd"}, {"cv"}, {"percent"}}},
        {"Medida",
         {{"components/repeatability"}, {"components/intermediate"}},
         {{"df"},
          {"sd_low"},
          {"sd_high"},
          {"mls_variance_low"},
          {"mls_variance_high"},
          {"sd_upper"},
          {"mls_sd_upper"}}},
        {"Medida",
         {{"acceptance/repeatability"}, {"acceptance/intermediate"}},
         {{"limit"}, {"rsd"}, {"rsd_upper"}, {"verdict"}}},
        {"Fuente",
         {{"anova/analyst"}, {"anova/day"}},
         {{"f"}, {"p"}, {"p_exact"}, {"conclusion"}, {"conclusion_exact"}}},
        {"Prueba",
         {{"cochran"},
          {"grubbs/analysts/high", "grubbs/analysts"},
          {"grubbs/analysts/low", "grubbs/analysts"},
          {"grubbs/days/high", "grubbs/days"},
          {"grubbs/days/low", "grubbs/days"}},
         {{"c", "g"}, {"critical_5"}, {"critical_1"}, {"verdict"}, {"analyst"}, {"day"}}},
    }};
    return layouts[static_cast<std::size_t>(kind)];
}

FigureTable FigureTableOf(const std::vector<FigureGroup>& groups, const FigureTableLayout& layout,
                          char separator) {
    const std::vector<FigureColumnOf>& columns = layout.columns;
    const auto text = [separator](const FigureValue& value) -> std::string {
        if (const auto* number = std::get_if<double>(&value)) {
            return FormatResult(*number, separator);
        }
        if (const auto* whole = std::get_if<int>(&value)) {
            return std::to_string(*whole);
        }
        if (const auto* truth = std::get_if<bool>(&value)) {
            return *truth ? "sí" : "no";
        }
        return std::get<const char*>(value);
    };
    // The figure of each cell, row by row; nullptr for an empty cell.
    std::vector<std::pair<const char*, std::vector<const Figure*>>> held;
    for (const FigureRowOf& row : layout.rows) {
        const FigureGroup* group = FindGroup(groups, row.group);
        if (!group) {
            continue;
        }
        const FigureGroup* shared = row.shared ? FindGroup(groups, row.shared) : nullptr;
        std::vector<const Figure*> cells;
        bool holdsAny = false;
        for (const FigureColumnOf& column : columns) {
            const Figure* figure = group->Find(column.key);
            if (!figure && column.instead) {
                figure = group->Find(column.instead);
            }
            holdsAny = holdsAny || figure;
            if (!figure && shared) {
                figure = shared->Find(column.key);
            }
            cells.push_back(figure);
        }
        if (holdsAny) {
            held.emplace_back(row.label ? row.label : group->label, std::move(cells));
        }
    }
    FigureTable table{{layout.firstHeading}, {}, {true}};
    std::vector<std::size_t> kept;
    for (std::size_t index = 0; const FigureColumnOf& column : columns) {
        const auto first = std::find_if(held.begin(), held.end(),
                                        [index](const auto& row) { return row.second[index]; });
        if (first != held.end()) {
            const Figure& figure = *first->second[index];
            table.headings.emplace_back(column.heading ? column.heading : figure.label);
            table.wordColumns.push_back(figure.unit == FigureUnit::Word);
            kept.push_back(index);
        }
        ++index;
    }
    for (const auto& [label, cells] : held) {
        std::vector<std::string>& row = table.rows.emplace_back(1, label);
        for (const std::size_t index : kept) {
            row.push_back(cells[index] ? text(cells[index]->value) : std::string());
        }
    }
    return table;
}

const char* EffectText(double probability) {
    return DeclaresEffect(probability) ? "con efecto" : "sin efecto";
}

ComponentsSetToZero ComponentsSetToZeroOf(const AnovaTable& anova) {
    return {anova.msDay < anova.msError, anova.msAnalyst < anova.msDay};
}

std::vector<FigureGroup> ExtendedFigureGroups(const AnovaTable& anova,
                                              const ExtendedAnalysis& analysis,
                                              const AcceptanceResult& acceptance) {
    std::vector<FigureGroup> groups;
    groups.reserve(16);
    AddAnova(groups, anova, analysis);
    groups.push_back(
        {"conclusions",
         "Conclusiones",
         {{"analyst_effect", "Efecto del analista", DeclaresEffect(anova.pAnalyst), U::Truth},
          {"day_effect", "Efecto del día", DeclaresEffect(anova.pDay), U::Truth},
          {"exact_conclusions_differ", "Con la P exacta cambia una conclusión",
           analysis.exactConclusionsDiffer, U::Truth}}});

    const RepeatabilityBounds& repeatability = analysis.repeatabilityBounds;
    const IntermediateBounds& intermediate = analysis.intermediateBounds;
    groups.push_back({"components/repeatability", "Repetibilidad",
                      ComponentFigures(analysis.repeatability, analysis.repeatabilityInterval,
                                       {{"sd_upper", "Cota superior 95 % de la DE",
                                         repeatability.sdUpper, U::Result},
                                        {"rsd", "RSD (%)", repeatability.rsd, U::Percent},
                                        {"rsd_upper", "Cota superior 95 % de la RSD (%)",
                                         repeatability.rsdUpper, U::Percent}})});
    groups.push_back({"components/day", "Entre días", ComponentFigures(analysis.day)});
    groups.push_back({"components/analyst", "Entre analistas", ComponentFigures(analysis.analyst)});
    groups.push_back(
        {"components/intermediate", "Precisión intermedia",
         ComponentFigures(
             analysis.intermediate, analysis.intermediateInterval,
             {{"sd_upper", "Cota superior 95 % de la DE", intermediate.sdUpper, U::Result},
              {"rsd", "RSD (%)", intermediate.rsd, U::Percent},
              {"mls_variance_low", "IC 95 % MLS de la varianza, inferior",
               intermediate.mlsVarianceLow, U::Variance},
              {"mls_variance_high", "IC 95 % MLS de la varianza, superior",
               intermediate.mlsVarianceHigh, U::Variance},
              {"mls_sd_upper", "Cota superior 95 % MLS de la DE", intermediate.mlsSdUpper,
               U::Result},
              {"rsd_upper", "Cota superior 95 % de la RSD (%)", intermediate.rsdUpper,
               U::Percent}})});

    const CochranTest& cochran = analysis.cochran;
    FigureGroup& cochranGroup = groups.emplace_back(
        FigureGroup{"cochran",
                    "Cochran, varianza de día mayor (C)",
                    {{"c", "Estadístico", cochran.c, U::Statistic},
                     {"critical_5", "Crítico 5 %", cochran.critical5, U::Statistic},
                     {"critical_1", "Crítico 1 %", cochran.critical1, U::Statistic}}});
    const std::vector<Figure> cochranVerdict = VerdictFigures(cochran.verdict, cochran.largest);
    cochranGroup.figures.insert(cochranGroup.figures.end(), cochranVerdict.begin(),
                                cochranVerdict.end());
    AddGrubbs(groups, analysis.grubbs.analysts,
              {"grubbs/analysts", "grubbs/analysts/high", "grubbs/analysts/low",
               "Grubbs, media de analista más alta (G)", "Grubbs, media de analista más baja (G)"});
    AddGrubbs(groups, analysis.grubbs.extremeDays,
              {"grubbs/days", "grubbs/days/high", "grubbs/days/low",
               "Grubbs, media de día más alta en su analista (G)",
               "Grubbs, media de día más baja en su analista (G)"});
    groups.push_back({"flags",
                      "Avisos",
                      {{"few_analysts", "Pocos analistas", analysis.flags.fewAnalysts, U::Truth},
                       {"intervals_disagree", "Los intervalos discrepan",
                        analysis.flags.intervalsDisagree, U::Truth}}});

    for (const auto& [key, label, figures] :
         {std::tuple{"acceptance/repeatability", "Repetibilidad", acceptance.repeatability},
          std::tuple{"acceptance/intermediate", "Precisión intermedia", acceptance.intermediate}}) {
        if (figures) {
            groups.push_back(
                {key,
                 label,
                 {{"limit", "Límite (%)", figures->limit, U::Percent},
                  {"rsd", "RSD (%)", figures->rsd, U::Percent},
                  {"rsd_upper", "Cota superior 95 % de la RSD (%)", figures->rsdUpper, U::Percent},
                  {"verdict", "Veredicto", AcceptanceText(figures->verdict), U::Word},
                  {"verdict_code", "", AcceptanceCode(figures->verdict), U::Word}}});
        }
    }
    return groups;
}

} // namespace orbeta
