#pragma once

#include "printing/PrintOptionsDialog.h"

namespace orbeta {

class TFOPRT;

// The DeskJet print options dialog, which prints with the DeskJet layout and the settings the
// printer and margin dialog holds at that moment.
class TFopprt final : public PrintOptionsDialog {
    Q_OBJECT

public:
    TFopprt(QWidget& parent, const Platform& platform, CurrentStudy currentStudy,
            const TFOPRT& printerAndMargin);

protected:
    std::unique_ptr<PageLayout> Layout(PrintSurface& surface, char decimalSeparator) const override;

private:
    const TFOPRT& m_printerAndMargin;
};

} // namespace orbeta
