#pragma once

#include <QTimer>
#include <QWidget>

namespace orbeta {

// The splash window: shown at once over the main window, it closes itself 3 seconds after the
// main window first becomes active. The user can work in the main window meanwhile.
class TFshow final : public QWidget {
    Q_OBJECT

public:
    explicit TFshow(QWidget& mainWindow);

    // Stops the timer and closes the splash.
    void Timer1Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_mainWindow;
    QTimer m_timer1;
};

} // namespace orbeta
