#include "study/Study.h"

#include "study/Error.h"
#include "study/Numbers.h"

#include <algorithm>

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

Design DesignOf(const Study& study) {
    const int analysts = ParseCount(study.analystCount);
    const int days = ParseCount(study.dayCount);
    return Design(analysts, days, ParseCount(study.replicateCount));
}

bool IsMissingResult(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    const std::string_view word = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    return word.size() == kMissingResult.size() &&
           std::equal(word.begin(), word.end(), kMissingResult.begin(),
                      [](char a, char b) { return (a & ~0x20) == b; });
}

bool HoldsMissingResult(const Study& study) {
    for (int column = 1; column < study.gridColumns; ++column) {
        for (int row = 1; row < study.gridRows; ++row) {
            if (IsMissingResult(study.Cell(column, row))) {
                return true;
            }
        }
    }
    return false;
}

Design DesignOfResults(const Study& study) {
    Design design = DesignOf(study);
    if (!FitsTheGrid(design.Analysts(), design.Days(), design.Replicates())) {
        return design;
    }
    const Design counts = design;
    counts.ForEachCell([&](const DesignCell& cell) {
        if (IsMissingResult(study.Cell(cell.analyst, counts.GridRowOf(cell.day, cell.replicate)))) {
            design.MarkMissing(cell);
        }
    });
    return design;
}

void ApplyStudyLayout(Study& study) {
    const Design design = DesignOf(study);
    ApplyStudyLayout(study, design.Analysts(), design.Days(), design.Replicates());
}

void ApplyStudyLayout(Study& study, int analysts, int days, int replicates) {
    if (!FitsTheGrid(analysts, days, replicates)) {
        throw Error("El formato de captura admite de 1 a " + std::to_string(kMaxAnalysts) +
                    " analistas y de 1 a " + std::to_string(kMaxResultsPerAnalyst) +
                    " datos por analista.");
    }
    study.gridColumns = analysts + 1;
    study.gridRows = days * replicates + 1;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        study.SetCell(analyst, 0, AnalystHeader(analyst));
    }
    const Design design(1, days, replicates);
    design.ForEachCell([&](const DesignCell& cell) {
        study.SetCell(0, design.GridRowOf(cell.day, cell.replicate),
                      DayReplicateHeader(cell.day, cell.replicate));
    });
}

} // namespace orbeta
