#include "support/PageRows.h"

#include "support/Studies.h"

namespace orbeta::testing {

Study StudyNamingItsCells(int analysts, int days, int replicates) {
    std::vector<std::string> results;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int row = 1; row <= days * replicates; ++row) {
            results.push_back(std::to_string(analyst) + "." + std::to_string(row));
        }
    }
    return StudyWithResults(analysts, days, replicates, results);
}

std::vector<std::string> NamedCellRows(const TableGrid& grid, int first, int last, int replicates,
                                       std::initializer_list<int> analysts) {
    std::vector<std::string> rows;
    int y = grid.y;
    for (int row = first; row <= last; ++row, y += grid.rowStep) {
        const std::string at = " " + std::to_string(y) + " ";
        rows.push_back("text " + std::to_string(grid.headingX) + at + "(Día " +
                       std::to_string((row - 1) / replicates + 1) + ",Replica " +
                       std::to_string((row - 1) % replicates + 1) + ")");
        int x = grid.firstAnalystX;
        for (const int analyst : analysts) {
            rows.push_back("text " + std::to_string(x) + at + std::to_string(analyst) + "." +
                           std::to_string(row));
            x += grid.analystStep;
        }
    }
    return rows;
}

} // namespace orbeta::testing
