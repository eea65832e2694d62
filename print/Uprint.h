#pragma once

#include "engine/Ucalculo.h"
#include "print/PageFrame.h"
#include "study/Study.h"

namespace orbeta {

// The laser layout. Each page is one print job framed by two centred header rows and a rule
// above, and two signature lines, the product line and a rule below. A result table too long
// for its page goes on over further pages of the same job, each with the frame. The page is
// laid out in the printer's device pixels; its columns are those of a 600-dpi printer.
class LaserLayout final : public PageLayout {
public:
    LaserLayout(PrintSurface& surface, char decimalSeparator)
        : m_page(surface), m_decimalSeparator(decimalSeparator) {}

    void PrintGeneralInfo(const Study& study) override;
    void PrintResults(const Study& study, AnovaTable anova, PrecisionSummary precision) override;

private:
    // Begins the job and draws the header.
    void PrintHeader();
    void DrawHeader();
    void DrawFooter();

    PageWriter m_page;
    char m_decimalSeparator;
};

} // namespace orbeta
