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
// It needs no study; it can take the expected spread from the capture window's.
class TFplan final : public QWidget {
    Q_OBJECT

public:
    TFplan(const Platform& platform, CheckedStudySource checkedStudy, QWidget* parent = nullptr);

    // Gives the window's frame its size, centred in the main window's area.
    void PlaceFrame(QMdiSubWindow& frame) const;

private:
    void btntomarClick();
    void btncalcularClick();
    void btncopiarClick();
    QLineEdit& FieldOf(PlanField field) const;
    void ShowPlan(const StudyPlan& plan);

    Platform m_platform;
    CheckedStudySource m_checkedStudy;
    // Indexed by PlanField.
    std::vector<QLineEdit*> m_fields;
    QTableWidget* m_table = nullptr;
    QLabel* m_recommendation = nullptr;
    QPushButton* m_copyButton = nullptr;
};

} // namespace orbeta
