#include "app/Startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orbeta"));
    orbeta::UseSpanishStandardDialogs(application);
    orbeta::Program program;
    program.Start();
    return QApplication::exec();
}
