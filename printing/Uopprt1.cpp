#include "printing/Uopprt1.h"

#include "print/Uprint.h"

namespace orbeta {

TFopprt1::TFopprt1(QWidget& parent, const Platform& platform, CurrentStudy currentStudy)
    : PrintOptionsDialog(parent, platform, std::move(currentStudy),
                         QStringLiteral("Imprimir en Lasser:")) {
    setObjectName(QStringLiteral("TFopprt1"));
}

std::unique_ptr<PageLayout> TFopprt1::Layout(PrintSurface& surface, char decimalSeparator) const {
    return std::make_unique<LaserLayout>(surface, decimalSeparator);
}

} // namespace orbeta
