#include "print/PageFrame.h"

#include "study/Error.h"
#include "study/Numbers.h"
#include "study/StudyChecks.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <utility>

namespace orbeta {

void PageWriter::SelectFont(int pointSize) {
    m_surface.SelectFont("ARIAL", pointSize);
}

void PageWriter::TakeUnitsFromHeaderFont(int pointSize) {
    SelectFont(pointSize);
    m_lineUnit = std::abs(m_surface.FontHeight());
    m_columnUnit = m_surface.FontPointSize();
}

void PageWriter::DrawHeader(int pointSize, const std::vector<std::pair<int, std::string>>& rows) {
    TakeUnitsFromHeaderFont(pointSize);
    for (const auto& [row, text] : rows) {
        Centred(row, text);
    }
    Rule(RowY(8) + 20);
}

void PageWriter::Text(int column, int row, const std::string& text) {
    m_surface.DrawText(column * m_columnUnit, RowY(row), text);
}

void PageWriter::Centred(int row, const std::string& text) {
    m_surface.DrawText((m_surface.PrintableWidth() - m_surface.TextWidth(text)) / 2, RowY(row),
                       text);
}

void PageWriter::RightAligned(int row, const std::string& text) {
    m_surface.DrawText(m_surface.PrintableWidth() - m_surface.TextWidth(text), RowY(row), text);
}

void PageWriter::Rule(int y) {
    m_surface.DrawLine(0, y, m_surface.PrintableWidth(), y);
}

void CheckPrintableCounts(const Study& study) {
    if (const auto failure = CheckGridLayout(study)) {
        throw Error(failure->message);
    }
}

namespace {

// One text row of the result table: its cells by column, and the heading row of its block.
// A row without cells is a gap between the blocks.
struct TableLine {
    std::vector<std::pair<int, std::string>> cells;
    std::size_t headingLine = 0;
};

// The lines of a block: the row headings and analysts `first` to `last`, rows 0 to `rows`.
void AppendBlock(std::vector<TableLine>& lines, const Study& study, const StripTableLayout& layout,
                 int first, int last, int rows) {
    const std::size_t heading = lines.size();
    for (int row = 0; row <= rows; ++row) {
        TableLine line{{{layout.firstColumn, study.Cell(0, row)}}, heading};
        for (int analyst = first; analyst <= last; ++analyst) {
            line.cells.emplace_back(layout.firstColumn + (analyst - first + 1) * layout.step,
                                    study.Cell(analyst, row));
        }
        lines.push_back(std::move(line));
    }
}

void DrawLine(PageWriter& page, const TableLine& line, int row) {
    for (const auto& [column, text] : line.cells) {
        if (!text.empty()) {
            page.Text(column, row, text);
        }
    }
}

} // namespace

int DrawStripTable(PageWriter& page, const Study& study, const StripTableLayout& layout,
                   const std::function<void()>& breakPage) {
    const int analysts = ParseCount(study.analystCount);
    const int rows = ParseCount(study.dayCount) * ParseCount(study.replicateCount);
    std::vector<TableLine> lines;
    AppendBlock(lines, study, layout, 1, std::min(analysts, 5), rows);
    int row = layout.oneBlockFirstRow;
    if (analysts > 5) {
        lines.resize(lines.size() + 2);
        AppendBlock(lines, study, layout, 6, analysts, rows);
        row = layout.twoBlockFirstRow;
    }
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const TableLine& line = lines[index];
        if (row > layout.lastRow) {
            if (line.cells.empty()) {
                continue;
            }
            breakPage();
            row = layout.continuationRow;
            if (line.headingLine != index) {
                DrawLine(page, lines[line.headingLine], row++);
            }
        }
        DrawLine(page, line, row++);
    }
    return row;
}

int DrawGeneralInformation(PageWriter& page, const std::string& title, const Study& study,
                           const StripTableLayout& layout, const std::function<void()>& breakPage) {
    page.Centred(10, title);
    const std::array<std::pair<const char*, const std::string*>, 5> lines = {{
        {kMethodNameLabel, &study.methodName},
        {kDateLabel, &study.date},
        {kAnalystsLabel, &study.analystCount},
        {kDaysLabel, &study.dayCount},
        {kReplicatesLabel, &study.replicateCount},
    }};
    for (std::size_t line = 0; line < lines.size(); ++line) {
        page.Text(layout.firstColumn, 12 + static_cast<int>(line),
                  std::string(lines[line].first) + *lines[line].second);
    }
    return DrawStripTable(page, study, layout, breakPage);
}

void DrawResults(PageWriter& page, const ResultsPageTexts& texts, const std::string& methodName,
                 const AnovaTable& anova, const PrecisionSummary& precision,
                 char decimalSeparator) {
    page.Centred(10, texts.title);
    for (const auto& heading : texts.headings) {
        page.Text(heading.column, heading.row, heading.text);
    }
    for (int row = 16; const AnovaRow& source : AnovaRows(anova)) {
        for (std::size_t value = 0; value < source.Figures().size(); ++value) {
            page.Text(texts.valueColumns[value], row,
                      FormatResult(source.Figures()[value], decimalSeparator));
        }
        ++row;
    }
    page.Centred(21, texts.analystConclusion(anova.pAnalyst));
    page.Centred(22, texts.dayConclusion(anova.pDay));

    page.Centred(29, texts.precisionTitle);
    page.Text(texts.labelColumn, 31, texts.precisionLabels[0] + methodName);
    for (int row = 32; const PrecisionMeasure& measure : PrecisionMeasures(precision)) {
        page.Text(texts.labelColumn, row,
                  texts.precisionLabels[static_cast<std::size_t>(row - 31)] +
                      FormatResult(measure.value, decimalSeparator));
        ++row;
    }
}

} // namespace orbeta
