#pragma once

#include <QDialog>

namespace orbeta {

// A print dialog's window, in the "System" typeface 13 pixels high. The typeface is loaded at
// the dialog's first show, not when it is made: the print dialogs are made at start-up, and
// loading it would slow every start for dialogs most runs never show.
class PrintDialogWindow : public QDialog {
    Q_OBJECT

protected:
    PrintDialogWindow(QWidget& parent, Qt::WindowFlags flags);

    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};

} // namespace orbeta
