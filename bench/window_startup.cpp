// The window's start-up alone: the application, the window built and shown,
// the events of its first showing processed, then out. Timed by bench/run.sh
// with few and with many fonts installed.

#include "ui/Tessaglyph.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Tessaglyph window;
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
