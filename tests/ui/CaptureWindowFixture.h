#pragma once

#include "doubles/ScriptedPlatform.h"
#include "ui/CaptureGrid.h"
#include "ui/Fdatos.h"
#include "ui/Main.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

// Texts in test failures as they read.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace orbeta::testing {

// The main window with the scripted seams, shown and active, so that key presses and focus
// moves reach the capture window as they reach it on the desktop.
class CaptureWindowTest : public ::testing::Test {
protected:
    CaptureWindowTest() : mainWindow(platform.Seams()) {
        mainWindow.resize(900, 600);
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
        if (!QTest::qWaitForWindowActive(&mainWindow)) {
            throw std::runtime_error("the main window did not become active");
        }
    }

    template <typename Control> Control& Find(const QString& name) {
        auto* control = mainWindow.findChild<Control*>(name);
        if (!control) {
            throw std::logic_error("no control " + name.toStdString());
        }
        return *control;
    }
    QAction& Command(const char* name) { return Find<QAction>(QString::fromUtf8(name)); }
    TFinforma* Capture() { return mainWindow.findChild<TFinforma*>(); }
    QLineEdit& Field(const char* name) { return Find<QLineEdit>(QString::fromUtf8(name)); }
    CaptureGrid& Grid() { return Find<CaptureGrid>(QStringLiteral("stgdatos")); }
    QString Page() {
        const auto& pages = Find<QTabWidget>(QStringLiteral("THojas"));
        return pages.tabText(pages.currentIndex());
    }
    QString Mark() { return Find<QLabel>(QStringLiteral("estado")).text(); }

    // The control holding the focus, by name; the grid's cell editor counts as the grid.
    QString Focus() {
        QWidget* focus = QApplication::focusWidget();
        if (!focus) {
            return {};
        }
        return Grid().isAncestorOf(focus) ? Grid().objectName() : focus->objectName();
    }

    void NewStudy() {
        Command("FileNewItem").trigger();
        QApplication::processEvents();
    }
    // Types each character as a key press and release that carry it, accented letters included.
    void Type(const QString& text) {
        for (const QChar character : text) {
            const auto key = static_cast<Qt::Key>(character.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, QString(character),
                                Qt::NoModifier);
        }
        QApplication::processEvents();
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QApplication::processEvents();
    }
    // Replaces a field's text as the user does: into the field, select all, type.
    void Retype(const char* field, const QString& text) {
        Field(field).setFocus();
        Field(field).selectAll();
        if (text.isEmpty()) {
            Press(Qt::Key_Backspace);
        } else {
            Type(text);
        }
    }
    // Clicks a cell of the grid, counted as the study counts them.
    void ClickCell(int column, int row) {
        CaptureGrid& grid = Grid();
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, column - 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QApplication::processEvents();
    }
    // Types the results into the grid from its first cell, Tab after each but the last.
    void FillGrid(const QStringList& resultsByRow) {
        Grid().setFocus();
        Grid().SetCurrentCell(1, 1);
        QApplication::processEvents();
        for (qsizetype index = 0; index < resultsByRow.size(); ++index) {
            if (index > 0) {
                Press(Qt::Key_Tab);
            }
            Type(resultsByRow[index]);
        }
    }
    // Closes the capture window, answering No to the close question, and forgets the messages
    // shown, so that the next case of a table starts afresh.
    void DiscardStudy() {
        platform.messages.QueueSaveAnswer(false);
        Capture()->parentWidget()->close();
        QApplication::processEvents();
        platform.messages = {};
    }
    QStringList Messages() { return platform.messages.Messages(); }
    QStringList ErrorReports() { return platform.messages.ErrorReports(); }

    ScriptedPlatform platform;
    TMainForm mainWindow;
};

} // namespace orbeta::testing
