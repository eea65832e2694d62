#include "ui/MessageBoxes.h"

#include "study/Error.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace orbeta {

namespace {

// Room the title bar takes beside its caption: the window's icon and its close button.
constexpr int kTitleBarButtonsWidth = 96;

// A box sizes itself to its text; a longer caption would be cut in the title bar.
void WidenForCaption(QMessageBox& box) {
    const int captionWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                                 .horizontalAdvance(box.windowTitle()) +
                             kTitleBarButtonsWidth;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

// Parentless, so that Qt centres the box on the screen; run modal to the whole program.
int RunBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setWindowModality(Qt::ApplicationModal);
    WidenForCaption(box);
    return box.exec();
}

} // namespace

void MessageBoxes::ReportError(const std::string& errorText) {
    ShowErrorReport(QString::fromStdString(WithFullStop(errorText)));
}

void QtMessageBoxes::ShowMessage(const QString& text) {
    RunBox(QMessageBox::NoIcon, m_applicationTitle, text);
}

void QtMessageBoxes::ShowErrorReport(const QString& text) {
    RunBox(QMessageBox::Critical, m_applicationTitle, text);
}

bool QtMessageBoxes::AskToSaveChanges() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Guardar archivo?"),
                    QStringLiteral("Se realizaron cambios!\nQuiere guardar su información?"),
                    QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    WidenForCaption(box);
    return box.exec() == QMessageBox::Yes;
}

} // namespace orbeta
