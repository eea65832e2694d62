#include "printing/Uopprt.h"

#include "print/Uprint1.h"
#include "printing/Uoprt.h"

namespace orbeta {

TFopprt::TFopprt(QWidget& parent, const Platform& platform, CurrentStudy currentStudy,
                 const TFOPRT& printerAndMargin)
    : PrintOptionsDialog(parent, platform, std::move(currentStudy), QStringLiteral("Imprimir:")),
      m_printerAndMargin(printerAndMargin) {
    setObjectName(QStringLiteral("TFopprt"));
}

std::unique_ptr<PageLayout> TFopprt::Layout(PrintSurface& surface, char decimalSeparator) const {
    return std::make_unique<DeskJetLayout>(surface, decimalSeparator,
                                           m_printerAndMargin.Settings());
}

} // namespace orbeta
