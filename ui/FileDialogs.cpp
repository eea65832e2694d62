#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace orbeta {

namespace {

// The extension a name typed without one gets: that of the file type chosen, "(*.txt)" giving
// "txt"; the default extension for a type that names none.
QString ExtensionFor(const QString& fileType, const QString& defaultExtension) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    const QRegularExpressionMatch match = pattern.match(fileType);
    return match.hasMatch() ? match.captured(1) : defaultExtension;
}

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
    dialog.setDefaultSuffix(ExtensionFor(dialog.selectedNameFilter(), settings.defaultExtension));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& type) {
        dialog.setDefaultSuffix(ExtensionFor(type, settings.defaultExtension));
    });
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
