#pragma once

#include "ui/ExtendedAnalysisContent.h"
#include "ui/Platform.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QTableWidget;

namespace orbeta {

// The extended-analysis window: the variability chart over the tables, with the two limit
// fields under the bounds they judge, the unit of the results, Copy, and Export PDF, which writes
// the study's validation record. It shows the snapshot it is given, its caption naming the
// study's method, and computes nothing itself but the record's figures, through the record's
// own ComputeRecordFigures, when it exports.
class ExtendedAnalysisWindow final : public QWidget {
    Q_OBJECT

public:
    // The longest unit the field takes, and where the last one typed is remembered.
    static constexpr int kUnitLength = 20;
    static constexpr const char* kUnitSetting = "ampliado/unidad";

    ExtendedAnalysisWindow(ExtendedSnapshot snapshot, const Platform& platform,
                           char decimalSeparator, QWidget* parent = nullptr);

    void PlaceFrame(QMdiSubWindow& frame) const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Judges the limits typed against the snapshot when either text changed since last judged;
    // a bad entry shows its message and takes the focus back, the repeatability's first.
    void LimitsChanged();
    void ShowAcceptance();
    void btncopiarClick();
    void btnexportarClick();
    // Runs a command; a failure the core names is reported as it says, any other as `failure`,
    // and the window stays as it was.
    void Guarded(const char* failure, const std::function<void()>& command);

    ExtendedSnapshot m_snapshot;
    Platform m_platform;
    char m_separator;
    AcceptanceResult m_acceptance;
    AcceptanceLimits m_limits; // as last judged, a bad one left out; the record takes them
    std::vector<ResultTable> m_tables;
    std::vector<FlaggedDay> m_flagged;
    QString m_unit; // of the results, as the field holds it
    QLineEdit* m_repeatabilityLimit = nullptr;
    QLineEdit* m_intermediateLimit = nullptr;
    QLineEdit* m_unitField = nullptr;
    QTableWidget* m_acceptanceGrid = nullptr;
    QLabel* m_acceptanceNotes = nullptr;
    QStringList m_judgedLimits{QString(), QString()};
};

} // namespace orbeta
