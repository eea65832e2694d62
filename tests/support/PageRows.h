#pragma once

#include "study/Study.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace orbeta::testing {

// A study whose result of analyst a on grid row r reads "a.r".
Study StudyNamingItsCells(int analysts, int days, int replicates);

// Where a page's result table stands, in device pixels.
struct TableGrid {
    int y;             // of the first row drawn
    int rowStep;       // from one row to the next
    int headingX;      // of the row headings
    int firstAnalystX; // of the first analyst drawn
    int analystStep;   // from one analyst to the next
};

// The drawing operations of grid rows `first` to `last` of a study named by StudyNamingItsCells
// with `replicates` replicates, for the analysts listed, as a RecordingPrintSurface records them.
std::vector<std::string> NamedCellRows(const TableGrid& grid, int first, int last, int replicates,
                                       std::initializer_list<int> analysts);

} // namespace orbeta::testing
