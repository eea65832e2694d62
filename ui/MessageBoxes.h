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

    // The capture window's close question: "Guardar archivo?", a question icon, Yes and No
    // with No the default. True when the user answers Yes.
    virtual bool AskToSaveChanges() = 0;

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
    bool AskToSaveChanges() override;

protected:
    void ShowErrorReport(const QString& text) override;

private:
    QString m_applicationTitle;
};

} // namespace orbeta
