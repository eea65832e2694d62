#pragma once

#include "support/RecordingPrintSurface.h"
#include "ui/Platform.h"

#include <QMap>
#include <QStringList>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orbeta::testing {

// Each double answers from the answers queued on it, in order, records what it was asked, and
// throws std::logic_error when asked with no answer left.

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    // Yes or No to the close question.
    void QueueSaveAnswer(bool yes) {
        m_saveAnswers.push_back(yes ? CloseAnswer::Save : CloseAnswer::Discard);
    }
    void QueueCloseAnswer(CloseAnswer answer) { m_saveAnswers.push_back(answer); }
    void QueueChangedFileAnswer(ChangedFileAnswer answer) {
        m_changedFileAnswers.push_back(answer);
    }
    void QueueRecoverAnswer(RecoverAnswer answer) { m_recoverAnswers.push_back(answer); }

    // The texts shown, in order, as the user would read them.
    const QStringList& Messages() const { return m_messages; }
    const QStringList& ErrorReports() const { return m_errorReports; }
    int SaveQuestionsAsked() const { return m_saveQuestionsAsked; }
    int ChangedFileQuestionsAsked() const { return m_changedFileQuestionsAsked; }
    const QStringList& RecoverQuestions() const { return m_recoverQuestions; }

    void ShowMessage(const QString& text) override { m_messages.append(text); }
    CloseAnswer AskToSaveChanges() override;
    ChangedFileAnswer AskToReplaceChangedFile() override;
    RecoverAnswer AskToRecover(const QString& text) override;

protected:
    void ShowErrorReport(const QString& text) override { m_errorReports.append(text); }

private:
    std::deque<CloseAnswer> m_saveAnswers;
    std::deque<ChangedFileAnswer> m_changedFileAnswers;
    std::deque<RecoverAnswer> m_recoverAnswers;
    QStringList m_messages;
    QStringList m_errorReports;
    QStringList m_recoverQuestions;
    int m_saveQuestionsAsked = 0;
    int m_changedFileQuestionsAsked = 0;
};

class ScriptedFileDialogs final : public FileDialogs {
public:
    // Nothing stands for the user cancelling.
    void QueueAnswer(std::optional<ChosenFile> answer) { m_answers.push_back(std::move(answer)); }

    const std::vector<FileDialogSettings>& OpenDialogsShown() const { return m_openDialogs; }
    const std::vector<FileDialogSettings>& SaveDialogsShown() const { return m_saveDialogs; }

    std::optional<ChosenFile> ChooseFileToOpen(const FileDialogSettings& settings) override;
    std::optional<ChosenFile> ChooseFileToSave(const FileDialogSettings& settings) override;

private:
    std::optional<ChosenFile> NextAnswer();

    std::deque<std::optional<ChosenFile>> m_answers;
    std::vector<FileDialogSettings> m_openDialogs;
    std::vector<FileDialogSettings> m_saveDialogs;
};

class ScriptedPrinter final : public Printer {
public:
    ScriptedPrinter() : m_surface(600, 4800) {}

    void QueueConfirm(bool confirmed) { m_answers.push_back(confirmed ? kConfirm : kCancel); }
    // The next print dialog finds no printer.
    void QueueNoPrinter() { m_answers.push_back(kNoPrinter); }
    int DialogsRun() const { return m_dialogsRun; }
    RecordingPrintSurface& Recording() { return m_surface; }
    // The identity of each record written, which the desktop's own writer draws.
    const std::vector<RecordIdentity>& Records() const { return m_records; }
    // The title of each PDF document drawn on a surface.
    const QStringList& PdfTitles() const { return m_pdfTitles; }

    bool RunPrintDialog() override;
    PrintSurface& Surface() override { return m_surface; }
    void WriteRecordPdf(const QString& fileName, const Study& study, const RecordFigures& figures,
                        const RecordIdentity& identity, char decimalSeparator) override;
    QByteArray SurfacePdf(const QString& title, Orientation orientation,
                          const SurfaceDrawing& draw) override;

private:
    enum Answer { kConfirm, kCancel, kNoPrinter };

    std::deque<Answer> m_answers;
    int m_dialogsRun = 0;
    RecordingPrintSurface m_surface;
    std::vector<RecordIdentity> m_records;
    QStringList m_pdfTitles;
};

class ScriptedHelpViewer final : public HelpViewer {
public:
    // "contents", "search <keyword>", "help on help", "topic <number>".
    const QStringList& Requests() const { return m_requests; }

    void ShowContents() override { m_requests.append(QStringLiteral("contents")); }
    void SearchKeyword(const QString& keyword) override {
        m_requests.append(QStringLiteral("search ") + keyword);
    }
    void ShowHelpOnHelp() override { m_requests.append(QStringLiteral("help on help")); }
    void ShowTopic(int helpContext) override {
        m_requests.append(QStringLiteral("topic %1").arg(helpContext));
    }

private:
    QStringList m_requests;
};

class FixedRegionalSettings final : public RegionalSettings {
public:
    explicit FixedRegionalSettings(char decimalSeparator) : m_decimalSeparator(decimalSeparator) {}
    char DecimalSeparator() const override { return m_decimalSeparator; }

private:
    char m_decimalSeparator;
};

// Settings held in memory for the test's run.
class MemoryUserSettings final : public UserSettings {
public:
    QString Value(const QString& key) const override { return m_values.value(key); }
    void SetValue(const QString& key, const QString& value) override { m_values[key] = value; }

private:
    QMap<QString, QString> m_values;
};

// One scripted double of each seam, for a window under test.
struct ScriptedPlatform {
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs fileDialogs;
    ScriptedPrinter printer;
    ScriptedHelpViewer help;
    FixedRegionalSettings regionalSettings{'.'};
    MemoryUserSettings userSettings;

    Platform Seams() {
        return {messages, fileDialogs, printer, help, regionalSettings, userSettings};
    }
};

} // namespace orbeta::testing
