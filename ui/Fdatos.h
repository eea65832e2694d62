#pragma once

#include "study/Study.h"
#include "study/StudyChecks.h"

#include "ui/Platform.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QTabWidget;

namespace orbeta {

class CaptureGrid;
struct PasteCount;
class LimitedField;
class StudyDocument;

// The capture window: the one study, typed or opened, in its five fields and its grid. It checks
// the entry as the focus moves between its controls, tells the study's document of every change,
// asks before an unsaved study is lost, and signals the commands its menu asks for and the events
// that change which commands can be used.
class TFinforma final : public QWidget {
    Q_OBJECT

public:
    // `save` is the Save command, which gives whether the study was written; the close question's
    // Yes runs it.
    TFinforma(const Platform& platform, StudyDocument& document, std::function<bool()> save,
              QWidget* parent = nullptr);
    ~TFinforma() override;

    // The study as the controls hold it now.
    Study StudySnapshot() const;
    // Puts a study read from a file into the controls: the five fields as read, whatever their
    // length, and the grid as the study lays it out.
    void ShowStudy(const Study& study);

    // Runs the study checks. A failed check shows its message, brings this window forward with
    // the page and the focus it names, and gives false. Throws Error for a count that is not a
    // whole number.
    bool RunStudyChecks();

    void SetPopupItemsEnabled(bool enabled);

    // The close question, for a study with unsaved changes: Yes saves it, No lets the changes
    // go, "Cancelar" keeps it. Gives whether the study may go: saved, let go or unchanged.
    bool SettleChanges();

    // The window's first focus: the general page and the method name.
    void THojasEnter();

    // The designed client area, and the smallest that still shows the counts and the button.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The pop-up menu's commands.
    void AnovaRequested();
    void PrecisionRequested();
    void ExtendedAnalysisRequested();
    // A character was typed in the grid's bottom-right data cell.
    void LastDataCellTyped();
    // The long hint of the pop-up item under the pointer; empty when none.
    void HintChanged(const QString& longHint);

protected:
    // The close question.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateGeneralPage(QWidget& page);
    void CreateDataPage(QWidget& page);
    void CreatePopupMenu();

    void FieldKeyPress(LimitedField& field, const QKeyEvent& key);
    bool meanalistaExit();
    bool mediasExit();
    bool mereplicaExit();
    bool CountFieldExit(LimitedField& field, StudyControl control);
    void btnsinumeroClick();
    void THojasClick();
    bool stgdatosEnter();
    void stgdatosKeyPress();
    bool stgdatosExit();
    void CellsPasted(const PasteCount& count);
    void LastCellTyped();

    // Notes a move of the focus between controls of this window, for its checks to run once
    // the focus has settled.
    void FocusChanged(QWidget* old, QWidget* now);
    // Runs the checks of the moves noted so far, in order, and gives whether they all passed;
    // after a failed one the later moves are moot.
    bool RunFocusChecks();
    bool CheckFocusMove(const QWidget& old, const QWidget& now);
    // A failed check: its message, then the page and the focus it names, with no further check
    // run by the focus moving.
    void ShowCheckFailure(const std::string& message, StudyPage page, QWidget& focus);
    QWidget& ControlOf(StudyControl control);
    void ShowGridOf(const Study& study);
    void MarkModified();
    char DecimalSeparator() const;

    Platform m_platform;
    QPointer<StudyDocument> m_document;
    std::function<bool()> m_save;
    QTabWidget* m_pages = nullptr;
    LimitedField* m_methodName = nullptr;
    LimitedField* m_date = nullptr;
    LimitedField* m_analystCount = nullptr;
    LimitedField* m_dayCount = nullptr;
    LimitedField* m_replicateCount = nullptr;
    QPushButton* m_layoutButton = nullptr;
    CaptureGrid* m_grid = nullptr;
    QMenu* m_popupMenu = nullptr;
    QAction* m_anovaItem = nullptr;
    QAction* m_precisionItem = nullptr;
    QAction* m_extendedItem = nullptr;
    struct FocusMove {
        QPointer<QWidget> from;
        QPointer<QWidget> to;
    };
    std::vector<FocusMove> m_pendingFocusMoves;
    // The control the focus left for this window's frame, while the frame holds it.
    QPointer<QWidget> m_leftForFrame;
    // Set while a check moves the focus itself, and once the window is closing: such moves run
    // no further check.
    bool m_checksHeld = false;
};

} // namespace orbeta
