#include "ui/MessageBoxes.h"

#include "doubles/ScriptedPlatform.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace orbeta {
namespace {

const QString kTitle = QString::fromUtf8("Presicion del Método (Presición Intermedia)");

// What a message box showed, read while it waits for the user.
struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    bool modal = false;
    int width = 0;
};

// Runs `show`, reads the box it opens and answers it by pressing the button captioned `answer`.
// A box without that button, or another window, fails the test and is closed, so that a wrong
// caption ends the test instead of leaving it waiting for a user.
ShownBox ReadAndAnswer(const std::function<void()>& show, const QString& answer) {
    ShownBox shown;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ADD_FAILURE() << "no message box is shown";
            if (modal) {
                modal->close();
            }
            return;
        }
        shown.width = box->width();
        shown.caption = box->windowTitle();
        shown.text = box->text();
        shown.icon = box->icon();
        shown.modal = box->isModal();
        for (QAbstractButton* button : box->buttons()) {
            shown.buttons.append(button->text());
            if (button->text() == answer) {
                QTimer::singleShot(0, button, &QAbstractButton::click);
            }
        }
        if (box->defaultButton()) {
            shown.defaultButton = box->defaultButton()->text();
        }
        if (!shown.buttons.contains(answer)) {
            ADD_FAILURE() << "no button " << answer.toStdString() << " among "
                          << shown.buttons.join(' ').toStdString();
            box->done(QMessageBox::Cancel);
        }
    });
    show();
    return shown;
}

TEST(QtMessageBoxes, TheMessageDialogHasTheTitleTheTextNoIconAndOneOk) {
    QtMessageBoxes boxes(kTitle);
    const ShownBox shown =
        ReadAndAnswer([&] { boxes.ShowMessage("Falta capturar un dato"); }, "OK");
    EXPECT_EQ(shown.caption, kTitle);
    EXPECT_EQ(shown.text, "Falta capturar un dato");
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QStringList({"OK"}));
    EXPECT_TRUE(shown.modal);
}

// The title bar holds the caption beside the window's icon and three buttons of a window
// manager, some 20 pixels each.
TEST(QtMessageBoxes, EveryBoxIsWideEnoughForItsCaption) {
    const QFontMetrics titleFont(QApplication::font("QMdiSubWindowTitleBar"));
    const int titleBarButtons = 4 * 20;
    for (const QString& title : {kTitle, kTitle + QStringLiteral(" - ") + kTitle}) {
        SCOPED_TRACE(title.toStdString());
        QtMessageBoxes boxes(title);
        const ShownBox message = ReadAndAnswer([&] { boxes.ShowMessage("x"); }, "OK");
        EXPECT_GE(message.width, titleFont.horizontalAdvance(title) + titleBarButtons);
        const ShownBox report = ReadAndAnswer([&] { boxes.ReportError("x"); }, "OK");
        EXPECT_GE(report.width, titleFont.horizontalAdvance(title) + titleBarButtons);
        const ShownBox question = ReadAndAnswer([&] { boxes.AskToSaveChanges(); }, "Cancelar");
        const int captionWidth = titleFont.horizontalAdvance(QStringLiteral("Guardar archivo?"));
        EXPECT_GE(question.width, captionWidth + titleBarButtons);
    }
}

TEST(QtMessageBoxes, TheErrorReportHasAStopIconAndTheTextWithItsFullStop) {
    QtMessageBoxes boxes(kTitle);
    const ShownBox shown =
        ReadAndAnswer([&] { boxes.ReportError("Floating point division by zero"); }, "OK");
    EXPECT_EQ(shown.caption, kTitle);
    EXPECT_EQ(shown.text, "Floating point division by zero.");
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.buttons, QStringList({"OK"}));
}

// What each question shows, and each answer, Escape among them: Escape and the box's close
// button must never be the answer that loses the study.
TEST(QtMessageBoxes, TheQuestionsBeforeAStudyIsLostOrOverwrittenDefaultToKeepingIt) {
    using Close = MessageBoxes::CloseAnswer;
    using Changed = MessageBoxes::ChangedFileAnswer;
    QtMessageBoxes boxes(kTitle);
    const QString changedText = QString::fromUtf8(
        "El archivo cambió en el disco después de abrirlo. ¿Reemplazarlo con este estudio?");
    struct Case {
        bool closeQuestion;
        QString press;
        int answer;
    };
    const Case cases[] = {
        {true, QString::fromUtf8("&Sí"), int(Close::Save)},
        {true, "&No", int(Close::Discard)},
        {true, "Cancelar", int(Close::Cancel)},
        {true, "Escape", int(Close::Cancel)},
        {false, "Reemplazar", int(Changed::Replace)},
        {false, "Guardar como...", int(Changed::SaveAs)},
        {false, "Cancelar", int(Changed::Cancel)},
        {false, "Escape", int(Changed::Cancel)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.press.toStdString());
        int answer = -1;
        ShownBox shown;
        const auto ask = [&] {
            answer = row.closeQuestion ? int(boxes.AskToSaveChanges())
                                       : int(boxes.AskToReplaceChangedFile());
        };
        if (row.press == "Escape") {
            QTimer::singleShot(0, [&] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    auto* messageBox = qobject_cast<QMessageBox*>(box);
                    shown.defaultButton = messageBox && messageBox->defaultButton()
                                              ? messageBox->defaultButton()->text()
                                              : QString();
                    // The close button of the title bar closes the box as Escape does.
                    box->close();
                }
            });
            ask();
        } else {
            shown = ReadAndAnswer(ask, row.press);
            EXPECT_EQ(shown.caption, row.closeQuestion ? "Guardar archivo?" : kTitle);
            EXPECT_EQ(
                shown.text,
                row.closeQuestion
                    ? QString::fromUtf8("Se realizaron cambios!\nQuiere guardar su información?")
                    : changedText);
            EXPECT_EQ(shown.icon, row.closeQuestion ? QMessageBox::Question : QMessageBox::Warning);
            // The order on the screen is the desktop style's.
            QStringList buttons = shown.buttons;
            buttons.sort();
            EXPECT_EQ(buttons, row.closeQuestion
                                   ? QStringList({"&No", QString::fromUtf8("&Sí"), "Cancelar"})
                                   : QStringList({"Cancelar", "Guardar como...", "Reemplazar"}));
        }
        EXPECT_EQ(shown.defaultButton,
                  row.closeQuestion ? QString::fromUtf8("&Sí") : QStringLiteral("Cancelar"));
        EXPECT_EQ(answer, row.answer);
    }
}

// The offer of a recovery copy lets it go only on a deliberate No: Escape and the close button
// keep it for the next start.
TEST(QtMessageBoxes, TheRecoveryOfferLetsTheCopyGoOnlyOnNo) {
    using Recover = MessageBoxes::RecoverAnswer;
    QtMessageBoxes boxes(kTitle);
    const QString offer = QString::fromUtf8(
        "Se encontró un estudio sin guardar de «Nuevo» (09/12/2026 16:45). ¿Recuperarlo?");
    for (const auto& [press, expected] :
         {std::pair{QString::fromUtf8("&Sí"), Recover::Recover},
          std::pair{QStringLiteral("&No"), Recover::Discard},
          std::pair{QString::fromUtf8("Más &tarde"), Recover::Later},
          std::pair{QStringLiteral("Escape"), Recover::Later}}) {
        SCOPED_TRACE(press.toStdString());
        Recover answer = Recover::Recover;
        if (press == "Escape") {
            QTimer::singleShot(0, [] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    box->close();
                }
            });
            answer = boxes.AskToRecover(offer);
        } else {
            const ShownBox shown =
                ReadAndAnswer([&] { answer = boxes.AskToRecover(offer); }, press);
            EXPECT_EQ(shown.caption, kTitle);
            EXPECT_EQ(shown.text, offer);
            EXPECT_EQ(shown.defaultButton, QString::fromUtf8("&Sí"));
        }
        EXPECT_EQ(answer, expected);
    }
}

TEST(ErrorReport, AddsAFullStopUnlessTheTextEndsInOneOrACharacterBeforeIt) {
    testing::ScriptedMessageBoxes boxes;
    boxes.ReportError("'' is not a valid floating point value");
    boxes.ReportError("There is no default printer currently selected");
    boxes.ReportError("El cálculo admite como máximo 10 analistas y 10 días por analista.");
    boxes.ReportError("Error (código 5)");
    boxes.ReportError("'abc' is not a valid integer value-");
    boxes.ReportError("Listo!");
    boxes.ReportError("");
    EXPECT_EQ(
        boxes.ErrorReports(),
        QStringList({"'' is not a valid floating point value.",
                     "There is no default printer currently selected.",
                     QString::fromUtf8("El cálculo admite como máximo 10 analistas y 10 "
                                       "días por analista."),
                     "Error (código 5)", "'abc' is not a valid integer value-", "Listo!", ""}));
    EXPECT_TRUE(boxes.Messages().isEmpty());
}

} // namespace
} // namespace orbeta
