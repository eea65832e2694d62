#include "ui/MessageBoxes.h"

#include "study/Error.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace orbeta {

namespace {

// Room the title bar takes beside its caption: the window's icon and its buttons, as window
// managers draw them (openbox's four take about 100 pixels).
constexpr int kTitleBarButtonsWidth = 128;

// A box sizes itself to its text; a longer caption would be cut in the title bar. The window
// manager draws the caption in a font of its own, commonly bold, so the caption is measured
// bold and given a fifth more.
void WidenForCaption(QMessageBox& box) {
    QFont captionFont = QApplication::font("QMdiSubWindowTitleBar");
    captionFont.setBold(true);
    const int captionWidth =
        QFontMetrics(captionFont).horizontalAdvance(box.windowTitle()) * 6 / 5 +
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

// A question answered "&Sí", "&No" or `cancel`: Yes is the default, and Escape, the box's close
// button and an end of the program meanwhile answer `cancel`. Gives the standard button pressed.
int AskYesNoOrCancel(const QString& caption, const QString& text, const QString& cancel) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.button(QMessageBox::Cancel)->setText(cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::ApplicationModal);
    WidenForCaption(box);
    return box.exec();
}

} // namespace

void MessageBoxes::ReportError(const std::string& errorText) {
    ShowErrorReport(QString::fromStdString(WithFullStop(errorText)));
}

void MessageBoxes::ReportInternalError(const QString& command) {
    const QString what =
        command.isEmpty() ? QStringLiteral("la orden") : QStringLiteral("«%1»").arg(command);
    ShowErrorReport(QStringLiteral("No se pudo completar %1 por un error interno del programa. "
                                   "El estudio no cambió.")
                        .arg(what));
}

void QtMessageBoxes::ShowMessage(const QString& text) {
    RunBox(QMessageBox::NoIcon, m_applicationTitle, text);
}

void QtMessageBoxes::ShowErrorReport(const QString& text) {
    RunBox(QMessageBox::Critical, m_applicationTitle, text);
}

MessageBoxes::CloseAnswer QtMessageBoxes::AskToSaveChanges() {
    // One key must never throw the changes away: Enter saves, Escape keeps the study open.
    switch (
        AskYesNoOrCancel(QStringLiteral("Guardar archivo?"),
                         QStringLiteral("Se realizaron cambios!\nQuiere guardar su información?"),
                         QStringLiteral("Cancelar"))) {
    case QMessageBox::Yes:
        return CloseAnswer::Save;
    case QMessageBox::No:
        return CloseAnswer::Discard;
    default:
        return CloseAnswer::Cancel;
    }
}

MessageBoxes::ChangedFileAnswer QtMessageBoxes::AskToReplaceChangedFile() {
    QMessageBox box(QMessageBox::Warning, m_applicationTitle,
                    QStringLiteral("El archivo cambió en el disco después de abrirlo. "
                                   "¿Reemplazarlo con este estudio?"));
    QPushButton* replace = box.addButton(QStringLiteral("Reemplazar"), QMessageBox::AcceptRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("Guardar como..."), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.setWindowModality(Qt::ApplicationModal);
    WidenForCaption(box);
    box.exec();
    if (box.clickedButton() == replace) {
        return ChangedFileAnswer::Replace;
    }
    return box.clickedButton() == saveAs ? ChangedFileAnswer::SaveAs : ChangedFileAnswer::Cancel;
}

MessageBoxes::RecoverAnswer QtMessageBoxes::AskToRecover(const QString& text) {
    // Only a deliberate No lets the study go.
    switch (AskYesNoOrCancel(m_applicationTitle, text, QStringLiteral("Más &tarde"))) {
    case QMessageBox::Yes:
        return RecoverAnswer::Recover;
    case QMessageBox::No:
        return RecoverAnswer::Discard;
    default:
        return RecoverAnswer::Later;
    }
}

} // namespace orbeta
