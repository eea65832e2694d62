#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orbeta {

// What a file dialog shows when it opens. Each file type is written as Qt reads it, the
// patterns in parentheses at the end: "Archivo de Texto (*.txt)".
struct FileDialogSettings {
    QString title;
    QStringList fileTypes;
    QString selectedFileType;
    // Added to a name typed without an extension; no dot.
    QString defaultExtension;
    QString proposedName;
};

// What the user confirmed.
struct ChosenFile {
    QString path;
    QString fileType;
};

// The standard file dialogs. Each returns nothing when the user cancels.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The folder and the file must exist.
    virtual std::optional<ChosenFile> ChooseFileToOpen(const FileDialogSettings& settings) = 0;
    // The folder must exist; the user is asked before an existing file is replaced.
    virtual std::optional<ChosenFile> ChooseFileToSave(const FileDialogSettings& settings) = 0;
};

// The file dialogs of the desktop.
class QtFileDialogs final : public FileDialogs {
public:
    std::optional<ChosenFile> ChooseFileToOpen(const FileDialogSettings& settings) override;
    std::optional<ChosenFile> ChooseFileToSave(const FileDialogSettings& settings) override;
};

} // namespace orbeta
