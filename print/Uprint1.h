#pragma once

#include "engine/Ucalculo.h"
#include "print/PageFrame.h"
#include "study/Study.h"

namespace orbeta {

// The printer-type and margin settings of the DeskJet layout.
struct DeskJetSettings {
    enum class PrinterType { DeskJet, LaserJet };
    enum class Margin { OneCm, OneAndAHalfCm, TwoCm };

    PrinterType printerType = PrinterType::DeskJet;
    Margin margin = Margin::OneAndAHalfCm;
};

// The DeskJet layout: the same two pages as the laser layout, with upper-case titles and
// labels, font sizes from the printer type, every left-aligned text from the margin, and no
// signature lines; the general-information page closes right below its result table. A table
// too long for its page goes on over further pages of the same job, each opening with the
// header and closing with the product line and its rule.
class DeskJetLayout final : public PageLayout {
public:
    DeskJetLayout(PrintSurface& surface, char decimalSeparator, DeskJetSettings settings);

    void PrintGeneralInfo(const Study& study) override;
    void PrintResults(const Study& study, AnovaTable anova, PrecisionSummary precision) override;

private:
    void PrintHeader();
    void DrawHeader();
    // The product line and the rule below the rows that end before `firstFreeRow`.
    void DrawFoot(int firstFreeRow);

    PageWriter m_page;
    char m_decimalSeparator;
    int m_headerSize;
    int m_bodySize;
    int m_margin; // in column units
};

} // namespace orbeta
