#pragma once

#include "print/PrintSurface.h"

namespace orbeta {

// The text of the general error report when the system print dialog cannot be shown at all.
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";

// The system's printer: the print dialog that chooses it, and the surface that draws on it.
// Every print goes to the printer chosen last.
class Printer {
public:
    virtual ~Printer() = default;

    // Runs the system print dialog: a printer or a PDF file, the printer's properties and the
    // number of copies. True when the user confirmed. Throws Error(kNoDefaultPrinter) when the
    // dialog cannot be shown at all.
    virtual bool RunPrintDialog() = 0;

    virtual PrintSurface& Surface() = 0;
};

} // namespace orbeta
