#pragma once

// The design of a precision study: A analysts, each on D days, each day R replicates, and which
// of those cells hold a result. Every check, message, reader, engine and planner takes the
// counts' ranges and the order of the results from here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orbeta {

// The three counts of a study, in the order the capture window asks for them.
enum class Count { Analysts, Days, Replicates };

// The range a count of a study may take, with the word its messages name it by.
struct CountRange {
    Count count;
    int minimum;
    int maximum;
    const char* plural; // "Analistas", as «Datos fuera de rango, 2-10 Analistas» names it
};

inline constexpr std::array<CountRange, 3> kCountRanges{{
    {Count::Analysts, 2, 10, "Analistas"},
    {Count::Days, 2, 10, "Días"},
    {Count::Replicates, 2, 5, "Replicas"},
}};

constexpr const CountRange& RangeOf(Count count) {
    return kCountRanges[static_cast<std::size_t>(count)];
}

// The largest grid the program lays out and a study file holds: the reader's table of as many
// analysts as a study may have, by 100 results. Wider than the counts' ranges, since a grid is
// laid out before its counts are checked.
inline constexpr int kMaxAnalysts = RangeOf(Count::Analysts).maximum;
inline constexpr int kMaxResultsPerAnalyst = 100;

// Whether a grid of the design's counts fits the largest grid: 1 to kMaxAnalysts analysts and 1
// to kMaxResultsPerAnalyst results each.
bool FitsTheGrid(int analysts, int days, int replicates);

// One cell of a design; each count from 1.
struct DesignCell {
    int analyst = 0;
    int day = 0;
    int replicate = 0;
};

// The counts and the cells of a study, and which cells hold a result. A design is complete (every
// cell holds one) until a cell is marked missing; the estimators of engine/Ucalculo.h and
// engine/Acceptance.h take complete designs only, engine/UnbalancedAnalysis.h any other.
class Design {
public:
    Design() = default;
    // The counts as given, every cell holding a result; whoever takes a design from unchecked
    // counts checks them.
    Design(int analysts, int days, int replicates)
        : m_analysts(analysts), m_days(days), m_replicates(replicates) {}

    int Analysts() const { return m_analysts; }
    int Days() const { return m_days; }
    int Replicates() const { return m_replicates; }

    // The days of all analysts, and the results of the whole study.
    std::size_t DayCount() const { return std::size_t(m_analysts) * std::size_t(m_days); }
    std::size_t ResultCount() const { return DayCount() * std::size_t(m_replicates); }

    // Where a cell's result, and a day's first result, stand in the order of the results:
    // analyst by analyst, within an analyst day by day, within a day replicate by replicate.
    std::size_t IndexOf(const DesignCell& cell) const {
        return DayIndexOf(cell.analyst, cell.day) * std::size_t(m_replicates) +
               std::size_t(cell.replicate - 1);
    }
    std::size_t DayIndexOf(int analyst, int day) const {
        return std::size_t(analyst - 1) * std::size_t(m_days) + std::size_t(day - 1);
    }

    // The grid row of a day's replicate; row 0 holds the headers.
    std::int64_t GridRowOf(int day, int replicate) const {
        return std::int64_t{day - 1} * m_replicates + replicate;
    }

    // Marks a cell of the design as holding no result.
    void MarkMissing(const DesignCell& cell);

    bool IsComplete() const { return m_missingCount == 0; }
    std::size_t MissingCount() const { return m_missingCount; }
    // Whether the cell holds a result; the cell at an index of the order of the results.
    bool HoldsResult(const DesignCell& cell) const { return HoldsResultAt(IndexOf(cell)); }
    bool HoldsResultAt(std::size_t index) const {
        return m_missingCount == 0 || m_missing[index] == 0;
    }

    // Calls visit(cell) for every cell, present or missing, in the order of the results.
    template <typename Visit> void ForEachCell(Visit&& visit) const {
        for (int analyst = 1; analyst <= m_analysts; ++analyst) {
            for (int day = 1; day <= m_days; ++day) {
                for (int replicate = 1; replicate <= m_replicates; ++replicate) {
                    visit(DesignCell{analyst, day, replicate});
                }
            }
        }
    }

    bool operator==(const Design&) const = default;
    auto operator<=>(const Design&) const = default;

private:
    int m_analysts = 0;
    int m_days = 0;
    int m_replicates = 0;
    // By the order of the results, 1 for a cell without a result; empty while the design is
    // complete. A byte a cell, since the analyses ask for every cell of a study.
    std::vector<std::uint8_t> m_missing;
    std::size_t m_missingCount = 0;
};

// Whether a design lies within every count's range.
bool WithinRanges(const Design& design);

// Calls visit(design) for every design within the ranges, analysts outermost, replicates
// innermost.
template <typename Visit> void ForEachDesignWithinRanges(Visit&& visit) {
    const CountRange& a = RangeOf(Count::Analysts);
    const CountRange& d = RangeOf(Count::Days);
    const CountRange& r = RangeOf(Count::Replicates);
    for (int analysts = a.minimum; analysts <= a.maximum; ++analysts) {
        for (int days = d.minimum; days <= d.maximum; ++days) {
            for (int replicates = r.minimum; replicates <= r.maximum; ++replicates) {
                visit(Design(analysts, days, replicates));
            }
        }
    }
}

// «Datos fuera de rango, 2-10 Analistas»: the message of a count outside its range.
std::string OutOfRangeMessage(Count count);

} // namespace orbeta
