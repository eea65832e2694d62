#pragma once

#include "engine/StudyPlanner.h"
#include "study/Study.h"
#include "ui/Platform.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;
class QTableWidget;

namespace orbeta {

// Gives the capture window's study when there is one and it passes the study checks; otherwise
// nothing, once the user has been told why.
using CheckedStudySource = std::function<std::optional<Study>()>;

// The study planner's window: what the lab expects of its method, the table of every design
// with its figures, the recommended design highlighted, and the recommendation in a sentence.
// It needs no study; it can take the expected spread from the capture window's. A plan is shown
// only for the inputs it was computed from: any change of a field takes it away.
class StudyPlannerWindow final : public QWidget {
    Q_OBJECT

public:
    StudyPlannerWindow(const Platform& platform, CheckedStudySource checkedStudy,
                       QWidget* parent = nullptr);

    // Gives the window's frame its size, centred in the main window's area.
    void PlaceFrame(QMdiSubWindow& frame) const;

private:
    void btntomarClick();
    void btncalcularClick();
    void btncopiarClick();
    QLineEdit& FieldOf(PlanField field) const;
    // Shows the plan, or with nothing an empty table and sentence; "Copiar" follows it.
    void SetPlan(std::optional<StudyPlan> plan);
    // Runs a handler's work; a failure is reported with the core's text or, for any other
    // exception, with `failure`, and the window stays as it was.
    template <typename Work> void Guarded(const char* failure, Work&& work);

    Platform m_platform;
    CheckedStudySource m_checkedStudy;
    std::optional<StudyPlan> m_plan;
    // Indexed by PlanField.
    std::vector<QLineEdit*> m_fields;
    QTableWidget* m_table = nullptr;
    QLabel* m_recommendation = nullptr;
    QPushButton* m_copyButton = nullptr;
};

} // namespace orbeta
