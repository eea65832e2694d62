#pragma once

#include <QString>

#include <string>
#include <utility>

namespace orbeta {

// The program's modal message boxes, each centred on the screen and waiting for the user.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // The message dialog of the program's own checks: the application title as caption, the
    // text, no icon and one "OK" button.
    virtual void ShowMessage(const QString& text) = 0;

    // The general error report of an error a command did not handle itself: a stop icon, the
    // application title as caption, the error's text with its full stop, one "OK" button.
    void ReportError(const std::string& errorText);
    // The error report of a failure no part of the program foresaw, the last resort of every
    // command: it names what the user asked for (`command`, empty when it has no name) and says
    // that the study was left as it was.
    void ReportInternalError(const QString& command);

    enum class CloseAnswer { Save, Discard, Cancel };
    // The capture window's close question: "Guardar archivo?", a question icon, Yes, No and
    // "Cancelar", Yes the default; Escape and the box's close button answer "Cancelar".
    virtual CloseAnswer AskToSaveChanges() = 0;

    enum class ChangedFileAnswer { Replace, SaveAs, Cancel };
    // Before a save over a file that changed on the disk since it was opened or saved:
    // "Reemplazar", "Guardar como..." and "Cancelar", which is the default and Escape's answer.
    virtual ChangedFileAnswer AskToReplaceChangedFile() = 0;

    enum class RecoverAnswer { Recover, Discard, Later };
    // At start, for a recovery copy left by an earlier run: `text` names the study and when
    // it was taken. Yes (the default) recovers it, No lets it go, "Más tarde" (Escape, the
    // box's close button, or the program ending meanwhile) keeps it for the next start.
    virtual RecoverAnswer AskToRecover(const QString& text) = 0;

protected:
    // Shows the error report with its text exactly as given.
    virtual void ShowErrorReport(const QString& text) = 0;
};

// The message boxes of the desktop.
class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QString applicationTitle)
        : m_applicationTitle(std::move(applicationTitle)) {}

    void ShowMessage(const QString& text) override;
    CloseAnswer AskToSaveChanges() override;
    ChangedFileAnswer AskToReplaceChangedFile() override;
    RecoverAnswer AskToRecover(const QString& text) override;

protected:
    void ShowErrorReport(const QString& text) override;

private:
    QString m_applicationTitle;
};

} // namespace orbeta
