#pragma once

#include "print/Uprint1.h"
#include "printing/PrintDialogWindow.h"

#include <functional>

class QButtonGroup;

namespace orbeta {

// The printer and margin dialog: the printer type and the margin the DeskJet layout prints
// with, and "OK", which opens the print options dialog of the chosen printer type. It keeps
// its choices while hidden and stays above the other windows.
class TFOPRT final : public PrintDialogWindow {
    Q_OBJECT

public:
    explicit TFOPRT(QWidget& parent);

    // How "OK" shows the options dialogs: the laser one for "Impresora Laser Jet", the DeskJet
    // one for "Impresora DeskJet".
    void SetOptionsDialogs(std::function<void()> showLaserOptions,
                           std::function<void()> showDeskJetOptions);

    // The settings as chosen now.
    DeskJetSettings Settings() const;

    // "OK": shows the options dialog of the chosen printer type and closes this one.
    void BitBtn1Click();

private:
    QButtonGroup* m_printerType;
    QButtonGroup* m_margin;
    std::function<void()> m_showLaserOptions;
    std::function<void()> m_showDeskJetOptions;
};

} // namespace orbeta
