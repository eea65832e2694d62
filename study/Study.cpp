#include "study/Study.h"

#include "study/Error.h"
#include "study/Numbers.h"

namespace orbeta {

namespace {
const std::string kEmptyCell;
} // namespace

const std::string& Study::Cell(int column, std::int64_t row) const {
    if (column < 0 || row < 0 || static_cast<std::size_t>(column) >= m_cellsByColumn.size()) {
        return kEmptyCell;
    }
    const auto& cells = m_cellsByColumn[static_cast<std::size_t>(column)];
    return static_cast<std::uint64_t>(row) < cells.size() ? cells[static_cast<std::size_t>(row)]
                                                          : kEmptyCell;
}

void Study::SetCell(int column, std::int64_t row, std::string text) {
    if (column < 0 || row < 0) {
        return;
    }
    if (static_cast<std::size_t>(column) >= m_cellsByColumn.size()) {
        m_cellsByColumn.resize(static_cast<std::size_t>(column) + 1);
    }
    auto& cells = m_cellsByColumn[static_cast<std::size_t>(column)];
    if (static_cast<std::uint64_t>(row) >= cells.size()) {
        cells.resize(static_cast<std::size_t>(row) + 1);
    }
    cells[static_cast<std::size_t>(row)] = std::move(text);
}

Study NewStudy() {
    Study study;
    study.analystCount = "2";
    study.dayCount = "2";
    study.replicateCount = "3";
    ApplyStudyLayout(study, 2, 2, 3);
    return study;
}

std::string AnalystHeader(int analyst) {
    return "Analista " + std::to_string(analyst);
}

std::string DayReplicateHeader(int day, int replicate) {
    return "(Día " + std::to_string(day) + ",Replica " + std::to_string(replicate) + ")";
}

void ApplyStudyLayout(Study& study) {
    const int analysts = ParseCount(study.analystCount);
    const int days = ParseCount(study.dayCount);
    const int replicates = ParseCount(study.replicateCount);
    ApplyStudyLayout(study, analysts, days, replicates);
}

void ApplyStudyLayout(Study& study, int analysts, int days, int replicates) {
    const std::int64_t rowsPerAnalyst = static_cast<std::int64_t>(days) * replicates;
    if (analysts < 1 || days < 1 || replicates < 1 || analysts > kMaxAnalysts ||
        rowsPerAnalyst > kMaxResultsPerAnalyst) {
        throw Error("El formato de captura admite de 1 a 10 analistas y de 1 a 100 datos por "
                    "analista.");
    }
    study.gridColumns = analysts + 1;
    study.gridRows = static_cast<int>(rowsPerAnalyst) + 1;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        study.SetCell(analyst, 0, AnalystHeader(analyst));
    }
    for (int day = 1; day <= days; ++day) {
        for (int replicate = 1; replicate <= replicates; ++replicate) {
            study.SetCell(0, ResultRow(day, replicate, replicates),
                          DayReplicateHeader(day, replicate));
        }
    }
}

} // namespace orbeta
