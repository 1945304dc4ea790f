// The window's start-up alone: the application, the window built and shown,
// the events of its first showing processed, then out. With --bare, a
// window of one label in its place: the start-up of any Qt program, whose
// font database takes in every installed face. Timed by bench/run.sh with
// few and with many fonts installed.

#include "ui/Tessaglyph.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        window = std::make_unique<QLabel>(QStringLiteral("Tessaglyph"));
    else
        window = std::make_unique<Tessaglyph>();
    window->show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
