#include "ui/FileDialogs.h"

#include <QFileDialog>

namespace orbeta {

namespace {

std::optional<ChosenFile> RunFileDialog(const FileDialogSettings& settings,
                                        QFileDialog::AcceptMode acceptMode,
                                        QFileDialog::FileMode fileMode) {
    QFileDialog dialog(nullptr, settings.title);
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
    dialog.setNameFilters(settings.fileTypes);
    if (!settings.selectedFileType.isEmpty()) {
        dialog.selectNameFilter(settings.selectedFileType);
    }
    dialog.setDefaultSuffix(settings.defaultExtension);
    dialog.selectFile(settings.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ChosenFile{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

} // namespace

std::optional<ChosenFile> QtFileDialogs::ChooseFileToOpen(const FileDialogSettings& settings) {
    return RunFileDialog(settings, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

std::optional<ChosenFile> QtFileDialogs::ChooseFileToSave(const FileDialogSettings& settings) {
    return RunFileDialog(settings, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

} // namespace orbeta
