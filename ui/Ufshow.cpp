#include "ui/Ufshow.h"

#include "ui/Fonts.h"
#include "ui/Panels.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace orbeta {

TFshow::TFshow(QWidget& mainWindow)
    // A frameless dialog of the main window that never takes the focus, rather than Qt's
    // splash-screen type, which Qt paints on the spot when shown before the event loop runs:
    // that would hold the main window back by the time the picture and the splash's typefaces
    // take. It is painted in the event loop's first pass, with the main window.
    : QWidget(&mainWindow, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus),
      m_mainWindow(mainWindow), m_timer1(this) {
    setObjectName(QStringLiteral("TFshow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(520, 426);

    using Bevel = BevelPanel::Bevel;
    auto* panel = new BevelPanel(Bevel::Raised, Bevel::Raised, 1, this);
    panel->setGeometry(rect());

    QFont productFont = ScriptCapitalsFont(20);
    productFont.setBold(true);
    PlaceLabel(QStringLiteral("ORBETA v. w 3.1"), productFont, QColor(0x00, 0x00, 0x80), {88, 24},
               panel);

    auto* pictureFrame = new BevelPanel(Bevel::Sunken, Bevel::Sunken, 1, panel);
    pictureFrame->setGeometry(56, 64, 377, 289);
    auto* picture = new AnalystPictureView(pictureFrame);
    picture->setGeometry(2, 2, 373, 285);

    QFont laboratoryFont = SerifFont(14);
    laboratoryFont.setBold(true);
    laboratoryFont.setItalic(true);
    PlaceLabel(QStringLiteral("Control de Calidad"), laboratoryFont, Qt::black, {160, 400}, panel);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(3000);
    m_timer1.setSingleShot(true);
    connect(&m_timer1, &QTimer::timeout, this, &TFshow::Timer1Timer);
    m_mainWindow.installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
}

void TFshow::Timer1Timer() {
    m_timer1.stop();
    close();
}

// Every activation of the main window starts the timer unless it already runs, so the
// splash stays for 3 seconds after the first one.
bool TFshow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_mainWindow && event->type() == QEvent::WindowActivate &&
        !m_timer1.isActive()) {
        m_timer1.start();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orbeta
