#pragma once

#include "print/PrintOptionsDialog.h"

namespace orbeta {

// The laser print options dialog, which prints with the laser layout.
class TFopprt1 final : public PrintOptionsDialog {
    Q_OBJECT

public:
    explicit TFopprt1(TMainForm& mainWindow);

protected:
    std::unique_ptr<PageLayout> Layout(PrintSurface& surface, char decimalSeparator) const override;
};

} // namespace orbeta
