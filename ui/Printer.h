#pragma once

#include "print/PrintSurface.h"

#include <memory>

class QPrinter;

namespace orbeta {

// The text of the general error report when the system has no printer to print on.
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";

// The system's printer: the print dialog that chooses it, and the surface that draws on it.
// Every print goes to the printer chosen last.
class Printer {
public:
    virtual ~Printer() = default;

    // Runs the system print dialog: printer, its properties and the number of copies. True when
    // the user confirmed. Throws Error(kNoDefaultPrinter) when the system has no printer.
    virtual bool RunPrintDialog() = 0;

    virtual PrintSurface& Surface() = 0;
};

// The desktop's printers.
class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;

    bool RunPrintDialog() override;
    PrintSurface& Surface() override;

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintSurface> m_surface;
};

} // namespace orbeta
