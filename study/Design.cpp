#include "study/Design.h"

namespace orbeta {

bool FitsTheGrid(int analysts, int days, int replicates) {
    return analysts >= 1 && analysts <= kMaxAnalysts && days >= 1 && replicates >= 1 &&
           std::int64_t{days} * replicates <= kMaxResultsPerAnalyst;
}

void Design::MarkMissing(const DesignCell& cell) {
    if (m_missing.empty()) {
        m_missing.resize(ResultCount());
    }
    const std::size_t index = IndexOf(cell);
    if (m_missing[index] == 0) {
        m_missing[index] = 1;
        ++m_missingCount;
    }
}

bool WithinRanges(const Design& design) {
    const auto within = [](Count count, int value) {
        return value >= RangeOf(count).minimum && value <= RangeOf(count).maximum;
    };
    return within(Count::Analysts, design.Analysts()) && within(Count::Days, design.Days()) &&
           within(Count::Replicates, design.Replicates());
}

std::string OutOfRangeMessage(Count count) {
    const CountRange& range = RangeOf(count);
    return "Datos fuera de rango, " + std::to_string(range.minimum) + "-" +
           std::to_string(range.maximum) + " " + range.plural;
}

} // namespace orbeta
