#pragma once

#include "engine/Ucalculo.h"
#include "print/PrintSurface.h"
#include "study/Study.h"

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orbeta {

// The line that closes every page of both layouts.
inline constexpr const char* kProductLine = "ORBETA v. w 3.1";

// A page as both layouts draw it: row k at y = k x LineUnit, column c at x = c x ColumnUnit,
// both taken from the header font when a job or a further page begins.
class PageWriter {
public:
    explicit PageWriter(PrintSurface& surface) : m_surface(surface) {}

    // Selects the header font at `pointSize` and takes LineUnit (its height in device pixels)
    // and ColumnUnit (its point size as the printer selected it) from it.
    void TakeUnitsFromHeaderFont(int pointSize);
    // Selects the typeface of every printed text, "ARIAL", at `pointSize`.
    void SelectFont(int pointSize);

    void Text(int column, int row, const std::string& text);
    void Centred(int row, const std::string& text);
    void RightAligned(int row, const std::string& text);
    // A line across the printable width at y device pixels.
    void Rule(int y);
    int RowY(int row) const { return row * m_lineUnit; }
    // The header of a page: the units taken from the header font at `pointSize`, the texts
    // centred on their rows, and the rule 20 device pixels below row 8.
    void DrawHeader(int pointSize, const std::vector<std::pair<int, std::string>>& rows);

    PrintSurface& Surface() { return m_surface; }

private:
    PrintSurface& m_surface;
    int m_lineUnit = 0;
    int m_columnUnit = 0;
};

// The labels of the study's fields on both layouts' pages, each followed by the field's text.
inline constexpr const char* kMethodNameLabel = "Nombre del método: ";
inline constexpr const char* kDateLabel = "Fecha: ";
inline constexpr const char* kAnalystsLabel = "Número de Analistas: ";
inline constexpr const char* kDaysLabel = "Número de días: ";
inline constexpr const char* kReplicatesLabel = "Número de replicaciones: ";

// A page layout: its two pages, each printed as one print job.
class PageLayout {
public:
    virtual ~PageLayout() = default;

    // The study as entered: its fields and its result grid, texts as typed. Throws Error, with
    // no job begun, when the counts are not whole numbers or do not match the grid.
    virtual void PrintGeneralInfo(const Study& study) = 0;
    // The analysis of variance, its conclusions and the precision measures of the study, with
    // the study's method name and date.
    virtual void PrintResults(const Study& study, AnovaTable anova, PrecisionSummary precision) = 0;
};

// Where a layout puts the strips of the result table and how far it may fill a page.
struct StripTableLayout {
    int firstColumn;      // the row-heading strip's column
    int step;             // columns from one strip to the next
    int oneBlockFirstRow; // the first row with at most five analysts
    int twoBlockFirstRow; // the first row of the first block with more than five
    int lastRow;          // the last row a strip may use on a page
    int continuationRow;  // the first row of the table on a further page
};

// Throws Error, before anything is printed, when the count texts are not whole numbers or do
// not match the grid, with the text the user sees.
void CheckPrintableCounts(const Study& study);

// Draws the study's grid as vertical strips, one per grid column, from row 0 (the headings) to
// row N: analysts 1 to 5 beside the row headings, and with more than five analysts a second
// block below the first holding the row headings again and analysts 6 onwards. A strip that
// would pass `lastRow` goes on at `continuationRow` after `breakPage` has closed the page and
// begun the next, under its block's heading row drawn again. Gives the first row below the
// table on the last page. The counts must have passed CheckPrintableCounts.
int DrawStripTable(PageWriter& page, const Study& study, const StripTableLayout& layout,
                   const std::function<void()>& breakPage);

// Rows 10 on of a general-information page: `title` centred on row 10; at the table's first
// column, rows 12 to 16, the method name, the date and the three counts, each after its label,
// as typed; then the strip table. Gives the first row below the table on the last page.
int DrawGeneralInformation(PageWriter& page, const std::string& title, const Study& study,
                           const StripTableLayout& layout, const std::function<void()>& breakPage);

// The texts and columns of a results page.
struct ResultsPageTexts {
    struct Placed {
        int row;
        int column;
        std::string text;
    };
    std::string title;               // row 10
    std::vector<Placed> headings;    // the analysis-of-variance table's headings
    std::array<int, 5> valueColumns; // df, sum, mean square, F, probability
    // The conclusions of rows 21 and 22, from the probability of each F test.
    std::function<std::string(double)> analystConclusion;
    std::function<std::string(double)> dayConclusion;
    std::string precisionTitle;                 // row 29
    int labelColumn;                            // of every text of the precision block
    std::array<std::string, 9> precisionLabels; // rows 31 to 39, the method name first
};

// Draws rows 10 to 39 of a results page: the analysis of variance, the conclusions and the
// precision measures, every value by FormatResult.
void DrawResults(PageWriter& page, const ResultsPageTexts& texts, const std::string& methodName,
                 const AnovaTable& anova, const PrecisionSummary& precision, char decimalSeparator);

} // namespace orbeta
