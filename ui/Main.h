#pragma once

#include "engine/Ucalculo.h"
#include "ui/CommandStates.h"
#include "ui/FileDialogs.h"
#include "ui/Platform.h"
#include "ui/StudyDocument.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace orbeta {

class TFinforma;

// The main window: a frame for the capture window and the result windows, with the menus, the
// tool bar, the status line and the rules that make each command available or not.
class TMainForm final : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(const Platform& platform, QWidget* parent = nullptr);

    // What the windows reach outside themselves through; later windows share it.
    const Platform& Seams() const { return m_platform; }

    // The one capture window while it is open.
    TFinforma* CaptureWindow() const;
    // The study's document: its file, save name, modified mark and recovery copy.
    StudyDocument& Document() const { return *m_document; }

    // The print dialogs the print commands open: the laser and DeskJet print options dialogs
    // and the printer and margin dialog. They outlive the main window's use of them.
    void SetPrintDialogs(QWidget& laserOptions, QDialog& printerAndMargin, QWidget& deskJetOptions);

    // Makes every command group available, unavailable or leaves it, as the event requires.
    void ApplyCommandEvent(CommandEvent event);

    enum class ChildKind { CaptureWindow, ResultWindow };

    // Takes a new child window into the frame and shows it. The frame destroys it once it has
    // closed; the capture window's closing signals CaptureWindowClosed, a result window's
    // LastChildClosed when no other child window is left.
    QMdiSubWindow* AddChildWindow(QWidget* window, ChildKind kind);

    // The commands of the menus and the tool bar.
    void FileNew();
    void FileOpen();
    // The second half of Open, after its dialog: loads the study file into a new capture
    // window, or shows the error report and leaves everything as it was. The program starts
    // with it for a file named on its command line.
    void OpenStudyFile(const StudyFileName& file);
    // At start: offers each recovery copy that an earlier run left in the document's recovery
    // folder, one at a time while no study is open; a copy accepted opens in a new capture
    // window, modified, one declined is removed.
    void OfferRecoveryCopies();
    void FileSave();
    void FileSaveAs();
    void PrintLasserClick();
    void FilePrint();
    void mnuoprtClick();
    void mnucloseClick();
    void FileExit();
    void WindowTile();
    void WindowCascade();
    void mnuanovaClick();
    void mnuprecsClick();
    void mnuinformeClick();
    void mnuampliadoClick();
    void mnuplanificarClick();
    void HelpContents();
    void HelpSearch();
    void HelpHowToUse();
    void HelpVerify();
    void HelpAbout();

    // Writes the long hint of the control or menu item under the pointer into the status line;
    // an empty hint empties it.
    void ShowHint(const QString& longHint);

    // Save and Save As; each gives whether the study was written.
    bool SaveStudy();
    bool SaveStudyAs();

signals:
    // A capture window was created, or the capture window closed.
    void CaptureWindowChanged(bool open);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct MenuRow;

    void CreateMenus();
    void CreateSpeedBar(QWidget& strip);
    void CreateStatusLine();
    QMenu* AddMenu(QMenu* parentMenu, const MenuRow& row);
    QAction* AddItem(QMenu& menu, const MenuRow& row);
    // The menu item that carries a command.
    QAction& ItemOf(void (TMainForm::*command)()) const;
    void ShowHelpOfHighlightedItem(const QMenu& menu);
    void ChildWindowClosing(ChildKind kind, const QMdiSubWindow& closing);
    TFinforma& CreateCaptureWindow();
    // Runs a step of a command; an error the step does not handle ends it and is shown in the
    // error report.
    // An error outside the core's own is caught as a last resort and reported as a failure of
    // `command`, the caption of what the user asked for.
    void ReportingErrors(const std::function<void()>& step, const QString& command = QString());
    // Runs a menu command, reporting any error it lets through.
    void RunCommand(void (TMainForm::*command)(), const QString& caption);
    // The "Ventana" menu's list of the open windows, after its items.
    void ListWindows(QMenu& windowMenu);
    // Whether there is a study and it passes the study checks; a failed check has shown its
    // message, an error its report.
    bool StudyPassesChecks();
    // Whether the study holds every result, as the classic commands need: their windows and
    // printouts take only complete studies. When one is missing it says so.
    bool HoldsEveryResult();
    // A save: the study checks, then `save`, which gives whether it wrote the file. Gives
    // whether the study was written.
    bool Saving(const std::function<bool()>& save);
    // Writes the capture window's study to `file`, which becomes the study's file.
    void WriteCapturedStudy(const StudyFileName& file);
    // Shows a study in a new capture window, as Open does.
    TFinforma& ShowInNewCaptureWindow(const Study& study);
    // A calculation: the study checks, then `calculate` with the capture window's study and the
    // decimal separator; an error it raises is shown in the error report.
    void Calculating(const std::function<void(const Study&, char)>& calculate);

    Platform m_platform;
    QMdiArea* m_mdiArea = nullptr;
    QLabel* m_statusLine = nullptr;
    QLabel* m_modifiedMark = nullptr;
    StudyDocument* m_document = nullptr;
    QPointer<TFinforma> m_captureWindow;
    QMenu* m_windowMenu = nullptr;
    std::vector<QAction*> m_windowListItems;
    QPointer<QWidget> m_laserOptions;
    QPointer<QDialog> m_printerAndMargin;
    QPointer<QWidget> m_deskJetOptions;
    // The Open and Save dialogs, as they open next; the Save dialog proposes the document's save
    // name.
    FileDialogSettings m_openDialog;
    FileDialogSettings m_saveDialog;
    QHash<const QAction*, int> m_helpContexts;
    // The engine and the results the calculation commands fill.
    StatisticsEngine m_engine;
    AnovaTable m_anova;
    PrecisionSummary m_precision;
    std::array<std::vector<QAction*>, kCommandGroupCount> m_groups;
    std::vector<std::pair<void (TMainForm::*)(), QAction*>> m_commandItems;
};

// Shows a window without modality and brings it to the front.
void ShowInFront(QWidget& window);

} // namespace orbeta
