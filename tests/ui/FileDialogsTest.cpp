#include "ui/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace orbeta {
namespace {

const FileDialogSettings kSettings{
    QStringLiteral("Guardar como"),
    {QStringLiteral("Orbeta v. w3.0 (*.w05)"), QStringLiteral("Archivo de Texto (*.txt)")},
    QStringLiteral("Archivo de Texto (*.txt)"),
    QStringLiteral("w05"),
    QStringLiteral("Nuevo"),
};

// Reads the dialog `show` opens, then lets `answer` confirm or cancel it. Another window, or
// none, fails the test; the window is closed so that the test ends instead of waiting.
void WhileShown(const std::function<void(QFileDialog&)>& answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            answer(*dialog);
        } else {
            ADD_FAILURE() << "no file dialog is shown";
            if (modal) {
                modal->close();
            }
        }
    });
}

TEST(QtFileDialogs, TheSaveDialogShowsItsSettingsAndAddsTheChosenTypesExtension) {
    const struct {
        const char* selectedType;
        const char* extension;
    } cases[] = {
        {"Archivo de Texto (*.txt)", "txt"},
        {"Orbeta v. w3.0 (*.w05)", "w05"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.selectedType);
        QTemporaryDir folder;
        QtFileDialogs dialogs;
        FileDialogSettings settings = kSettings;
        settings.selectedFileType = QString::fromUtf8(row.selectedType);
        settings.proposedName = folder.filePath(QStringLiteral("Nuevo"));
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QStringList types;
        QString selectedType;
        QString suffix;
        QString title;
        WhileShown([&](QFileDialog& dialog) {
            mode = dialog.acceptMode();
            types = dialog.nameFilters();
            selectedType = dialog.selectedNameFilter();
            suffix = dialog.defaultSuffix();
            title = dialog.windowTitle();
            static_cast<QDialog&>(dialog).accept(); // as the user confirms the name shown
        });
        const std::optional<ChosenFile> chosen = dialogs.ChooseFileToSave(settings);
        EXPECT_EQ(mode, QFileDialog::AcceptSave);
        EXPECT_EQ(title, "Guardar como");
        EXPECT_EQ(types, kSettings.fileTypes);
        EXPECT_EQ(selectedType, settings.selectedFileType);
        EXPECT_EQ(suffix, row.extension);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->path, folder.filePath(QStringLiteral("Nuevo.") + row.extension));
        EXPECT_EQ(chosen->fileType, settings.selectedFileType);
    }
}

TEST(QtFileDialogs, ChoosingAnotherTypeChangesTheExtensionAdded) {
    QTemporaryDir folder;
    QtFileDialogs dialogs;
    FileDialogSettings settings = kSettings;
    settings.selectedFileType = settings.fileTypes.constFirst();
    settings.proposedName = folder.filePath(QStringLiteral("estudio"));
    WhileShown([&](QFileDialog& dialog) {
        dialog.selectNameFilter(settings.fileTypes.constLast());
        emit dialog.filterSelected(settings.fileTypes.constLast()); // as the type box does
        static_cast<QDialog&>(dialog).accept();
    });
    const std::optional<ChosenFile> chosen = dialogs.ChooseFileToSave(settings);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->path, folder.filePath(QStringLiteral("estudio.txt")));
}

TEST(QtFileDialogs, TheOpenDialogAsksForAnExistingFileAndCancellingGivesNothing) {
    QtFileDialogs dialogs;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    WhileShown([&](QFileDialog& dialog) {
        fileMode = dialog.fileMode();
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.ChooseFileToOpen(kSettings).has_value());
    EXPECT_EQ(fileMode, QFileDialog::ExistingFile);
}

} // namespace
} // namespace orbeta
