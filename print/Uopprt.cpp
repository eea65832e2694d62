#include "print/Uopprt.h"

#include "print/Uoprt.h"
#include "print/Uprint1.h"

namespace orbeta {

TFopprt::TFopprt(TMainForm& mainWindow, const TFOPRT& printerAndMargin)
    : PrintOptionsDialog(mainWindow, QStringLiteral("Imprimir:")),
      m_printerAndMargin(printerAndMargin) {
    setObjectName(QStringLiteral("TFopprt"));
}

std::unique_ptr<PageLayout> TFopprt::Layout(PrintSurface& surface, char decimalSeparator) const {
    return std::make_unique<DeskJetLayout>(surface, decimalSeparator,
                                           m_printerAndMargin.Settings());
}

} // namespace orbeta
