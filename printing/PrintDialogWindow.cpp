#include "printing/PrintDialogWindow.h"

#include "ui/Fonts.h"

namespace orbeta {

PrintDialogWindow::PrintDialogWindow(QWidget& parent, Qt::WindowFlags flags)
    : QDialog(&parent, flags) {}

void PrintDialogWindow::showEvent(QShowEvent* event) {
    if (!m_shown) {
        m_shown = true;
        setFont(SystemFont(13));
    }
    QDialog::showEvent(event);
}

} // namespace orbeta
