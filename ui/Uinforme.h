#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QMdiSubWindow;
class QPlainTextEdit;

namespace orbeta {

// The report window: a study and all its results as plain text, the lines appended as they are
// produced. A viewer only: any key or mouse button pressed in the text closes it.
class Tfrminforme final : public QWidget {
    Q_OBJECT

public:
    explicit Tfrminforme(QWidget* parent = nullptr);

    // Gives the window's frame the desktop's default place and size for a new child window.
    void PlaceFrame(QMdiSubWindow& frame) const;

    // The declared size, and the smallest that still shows a few lines of the report.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void AppendLines(const std::vector<std::string>& lines);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mminformeKeyDown();
    void mminformeMouseDown();
    void CloseWindow();

    QPlainTextEdit* m_text = nullptr;
};

} // namespace orbeta
