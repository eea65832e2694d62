// The floor of bench/startup: an empty Qt main window of the program's shape, an MDI area, four
// menus of twenty items, a tool bar of ten icons and three status panels, shown maximized.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Piso de arranque"));
    window.setCentralWidget(new QMdiArea);
    for (int menu = 1; menu <= 4; ++menu) {
        QMenu* items = window.menuBar()->addMenu(QStringLiteral("Menú &%1").arg(menu));
        for (int item = 1; item <= 20; ++item) {
            items->addAction(QStringLiteral("Orden %1").arg(item));
        }
    }
    QToolBar* tools = window.addToolBar(QStringLiteral("Herramientas"));
    for (int button = 0; button < 10; ++button) {
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setBrush(QColor::fromHsv(button * 36, 200, 200));
        painter.drawEllipse(1, 1, 14, 14);
        painter.end();
        tools->addAction(QIcon(picture), QStringLiteral("Botón %1").arg(button));
    }
    window.statusBar()->addWidget(new QLabel, 0);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("F1 <Ayuda>")), 1);
    window.statusBar()->addPermanentWidget(new QLabel);
    window.showMaximized();
    return QApplication::exec();
}
