#include "doubles/ScriptedPlatform.h"

#include "printing/PdfDocument.h"
#include "printing/RecordPdf.h"
#include "study/Error.h"

#include <stdexcept>

namespace orbeta::testing {

namespace {

template <typename Answer> Answer Take(std::deque<Answer>& answers, const char* question) {
    if (answers.empty()) {
        throw std::logic_error(std::string("no answer queued for ") + question);
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

MessageBoxes::CloseAnswer ScriptedMessageBoxes::AskToSaveChanges() {
    ++m_saveQuestionsAsked;
    return Take(m_saveAnswers, "the close question");
}

MessageBoxes::ChangedFileAnswer ScriptedMessageBoxes::AskToReplaceChangedFile() {
    ++m_changedFileQuestionsAsked;
    return Take(m_changedFileAnswers, "the question about a file changed on the disk");
}

MessageBoxes::RecoverAnswer ScriptedMessageBoxes::AskToRecover(const QString& text) {
    m_recoverQuestions.append(text);
    return Take(m_recoverAnswers, "the recovery offer");
}

std::optional<ChosenFile> ScriptedFileDialogs::NextAnswer() {
    return Take(m_answers, "a file dialog");
}

std::optional<ChosenFile>
ScriptedFileDialogs::ChooseFileToOpen(const FileDialogSettings& settings) {
    m_openDialogs.push_back(settings);
    return NextAnswer();
}

std::optional<ChosenFile>
ScriptedFileDialogs::ChooseFileToSave(const FileDialogSettings& settings) {
    m_saveDialogs.push_back(settings);
    return NextAnswer();
}

bool ScriptedPrinter::RunPrintDialog() {
    ++m_dialogsRun;
    switch (Take(m_answers, "the print dialog")) {
    case kNoPrinter:
        throw Error(kNoDefaultPrinter);
    case kCancel:
        return false;
    case kConfirm:
        break;
    }
    return true;
}

void ScriptedPrinter::WriteRecordPdf(const QString& fileName, const Study& study,
                                     const RecordFigures& figures, const RecordIdentity& identity,
                                     char decimalSeparator) {
    m_records.push_back(identity);
    orbeta::WriteRecordPdf(fileName, study, figures, identity, decimalSeparator);
}

QByteArray ScriptedPrinter::SurfacePdf(const QString& title, Orientation orientation,
                                       const SurfaceDrawing& draw) {
    m_pdfTitles.append(title);
    return orbeta::SurfacePdf(title, orientation, draw);
}

} // namespace orbeta::testing
