#pragma once

#include "print/Uprint1.h"

#include <QDialog>
#include <QPointer>

class QButtonGroup;

namespace orbeta {

class TMainForm;

// The printer and margin dialog: the printer type and the margin the DeskJet layout prints
// with, and "OK", which opens the print options dialog of the chosen printer type. It keeps
// its choices while hidden and stays above the other windows.
class TFOPRT final : public QDialog {
    Q_OBJECT

public:
    explicit TFOPRT(TMainForm& mainWindow);

    // The options dialogs "OK" opens: the laser one for "Impresora Laser Jet", the DeskJet one
    // for "Impresora DeskJet".
    void SetOptionsDialogs(QWidget& laserOptions, QWidget& deskJetOptions);

    // The settings as chosen now.
    DeskJetSettings Settings() const;

    // "OK": shows the options dialog of the chosen printer type and closes this one.
    void BitBtn1Click();

private:
    QButtonGroup* m_printerType;
    QButtonGroup* m_margin;
    QPointer<QWidget> m_laserOptions;
    QPointer<QWidget> m_deskJetOptions;
};

} // namespace orbeta
