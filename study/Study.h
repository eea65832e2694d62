#pragma once

#include "study/Design.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// A snapshot of the capture window's texts, taken at the moment of a command: the five fields
// as typed and the grid of results. The grid has its own size, which differs from the counts
// until the layout is applied. Column 0 and row 0 hold the header labels; the result of
// analyst a, day d, replicate r stands in column a, row Design::GridRowOf(d, r).
//
// Like the capture grid, the snapshot keeps the texts of cells that an earlier, larger layout
// left outside the current size: they are still read by whoever asks for them.
struct Study {
    std::string methodName;
    std::string date;
    std::string analystCount;
    std::string dayCount;
    std::string replicateCount;
    int gridColumns = 0;
    int gridRows = 0;

    // The text of a cell; empty for a cell that never held text.
    const std::string& Cell(int column, std::int64_t row) const;
    void SetCell(int column, std::int64_t row, std::string text);

private:
    std::vector<std::vector<std::string>> m_cellsByColumn;
};

// A new study: counts "2", "2" and "3", a 3 by 7 grid with its header cells, empty fields
// and empty data cells.
Study NewStudy();

// The header labels of the grid: "Analista 3" and "(Día 2,Replica 3)".
std::string AnalystHeader(int analyst);
std::string DayReplicateHeader(int day, int replicate);

// The design a study's count texts give, read by ParseCount, which throws on a text that is not
// a whole number. Every cell of it holds a result.
Design DesignOf(const Study& study);

// The text of a missing result in a cell and in a study file.
inline constexpr std::string_view kMissingResult = "NA";

// Whether a cell's text marks its result missing: "NA" in either case, with blanks around it as
// around a number. ParseResult refuses such a text, so whoever reads a study's numbers asks this
// first.
bool IsMissingResult(std::string_view text);

// Whether a data cell of the study's grid, within its size, marks its result missing; unlike
// DesignOfResults, it reads no count.
bool HoldsMissingResult(const Study& study);

// DesignOf the study with each cell whose text marks it missing marked so. Counts that give a
// grid the program cannot hold give their design as DesignOf does.
Design DesignOfResults(const Study& study);

// Gives the grid A + 1 columns and D x R + 1 rows and writes the header cells; data cells
// keep their texts. The counts are read from the count texts by ParseCount (which throws on a
// text that is not a whole number). Throws Error, changing nothing, when the counts give a
// grid the program cannot hold: below 1, more than 10 analysts or more than 100 rows of data.
void ApplyStudyLayout(Study& study);
void ApplyStudyLayout(Study& study, int analysts, int days, int replicates);

} // namespace orbeta
