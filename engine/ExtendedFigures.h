#pragma once

// The one walk of every figure of an extended analysis, in the order the reports give them: the
// window's tables, the exported PDF, the JSON and the CSV all take it and only format what it
// yields.

#include "engine/ExtendedAnalysis.h"
#include "engine/Ucalculo.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orbeta {

// What a figure's value is measured in, so that a reader knows what the number means.
enum class FigureUnit {
    DegreesOfFreedom,
    SumOfSquares, // squared units of the results, as the mean squares
    Variance,     // squared units of the results
    Result,       // units of the results: standard deviations and their bounds
    Percent,      // relative standard deviations, shares and limits
    Probability,
    Statistic, // F, Cochran's C, Grubbs's G: no unit
    Position,  // an analyst's or a day's number, counted from 1
    Truth,
    Word, // a Spanish word for the user, or the stable ASCII code beside it
};

// A number, a whole number, a truth value or a text (a word or its code).
using FigureValue = std::variant<double, int, bool, const char*>;

struct Figure {
    const char* key;   // ASCII, e.g. "sd_upper"; a word's code has its word's key and "_code"
    const char* label; // Spanish, as the window's column heading
    FigureValue value;
    FigureUnit unit;
};

// The figures of one thing, e.g. the repeatability component or Cochran's test. Its key is the
// path of keys that names it in the machine reports, e.g. "components/repeatability".
struct FigureGroup {
    const char* key;
    const char* label; // Spanish, as the window's row heading
    std::vector<Figure> figures;

    // The figure of that key; nullptr when the group has none.
    const Figure* Find(std::string_view figureKey) const;
};

// The groups in their order: the analysis of variance with the exact probabilities and the
// conclusions of both, the conclusions, the variance components with their intervals and bounds,
// Cochran's and Grubbs's tests, the small-design flags, and the acceptance of each limit given.
// Each Spanish verdict or conclusion is followed by its code, whatever the language shown:
// conclusions "effect" or "no_effect"; consistency verdicts "correct", "straggler" or "outlier";
// acceptance verdicts "meets", "meets_unproven" or "fails".
std::vector<FigureGroup> ExtendedFigureGroups(const AnovaTable& anova,
                                              const ExtendedAnalysis& analysis,
                                              const AcceptanceResult& acceptance);

// The group of that key among `groups`; nullptr when there is none.
const FigureGroup* FindGroup(const std::vector<FigureGroup>& groups, std::string_view key);

// The walk without the figures a study with results missing cannot give, which it holds as
// zeros (AbsentFigures): the analyst's F test, the MLS figures, Cochran's test. Grubbs's levels
// it cannot give are not in the walk at all.
std::vector<FigureGroup> WithoutAbsentFigures(std::vector<FigureGroup> groups,
                                              const AbsentFigures& absent);

// A row of a table of the walk: the group it shows, the group that holds the figures it shares
// with other rows (Grubbs's critical values), if any, and a label other than the group's, if any.
struct FigureRowOf {
    const char* group;
    const char* shared = nullptr;
    const char* label = nullptr;
};

// A column: the key of its figure, the key of the figure a row holds instead (Cochran's C where
// Grubbs's rows hold G), if any, and a heading other than the figure's label, if any.
struct FigureColumnOf {
    const char* key;
    const char* instead = nullptr;
    const char* heading = nullptr;
};

// A table of the walk's figures as text: the column headings, the rows, and which columns hold
// words rather than numbers.
struct FigureTable {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> wordColumns;
};

// The rows and the columns of a table of the walk, with the heading of its first column, which
// holds each row's label.
struct FigureTableLayout {
    const char* firstHeading;
    std::vector<FigureRowOf> rows;
    std::vector<FigureColumnOf> columns;
};

// The tables the extended figures are shown in, on the window and on paper alike, so that a
// figure added to the walk and to its table's columns shows everywhere: the variance
// components; their intervals and bounds; the acceptance; the F tests with both probabilities
// and conclusions; Cochran's and Grubbs's tests.
enum class FigureTableKind { Components, Intervals, Acceptance, FTests, Consistency };
const FigureTableLayout& LayoutOf(FigureTableKind kind);

// The table of a layout: a row per group the walk holds with a figure of its own among the
// columns, its label first, then a cell per column, empty where the group lacks the figure; a
// column that no row holds is left out. Numbers by FormatResult, truth values «sí» or «no».
FigureTable FigureTableOf(const std::vector<FigureGroup>& groups, const FigureTableLayout& layout,
                          char decimalSeparator);

// «con efecto» or «sin efecto», the conclusion at the 0.05 level from a probability.
const char* EffectText(double probability);

// Which variance components had a negative estimate, set to zero: between days when the day's
// mean square is below the error's, between analysts when the analyst's is below the day's.
struct ComponentsSetToZero {
    bool day = false;
    bool analyst = false;
};
ComponentsSetToZero ComponentsSetToZeroOf(const AnovaTable& anova);

} // namespace orbeta
