#pragma once

#include "engine/Ucalculo.h"

#include <QWidget>

class QMdiSubWindow;
class QTableWidget;

namespace orbeta {

// The analysis-of-variance window: a study's nested analysis of variance as a six by six table
// of text, written once when the window is built, and the two conclusions under it.
class TfinfoA final : public QWidget {
    Q_OBJECT

public:
    TfinfoA(const AnovaTable& anova, char decimalSeparator, QWidget* parent = nullptr);

    // Gives the window's frame its outer size, centred in the main window's area.
    void PlaceFrame(QMdiSubWindow& frame) const;

    // The designed size, and the smallest that still shows the sources with their degrees of
    // freedom and sums of squares over the two conclusions.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void stganovaKeyPress();
    void stganovaExit();

    QTableWidget* m_grid = nullptr;
};

} // namespace orbeta
