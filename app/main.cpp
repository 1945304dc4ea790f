#include "ui/Tessaglyph.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral("tessaglyph.ico")));

    // Installed before the window is built, so that every text it sets is translated.
    QTranslator translator;
    (void)translator.load(QStringLiteral("tessaglyph_zh"));
    QCoreApplication::installTranslator(&translator);

    Tessaglyph window;
    window.show();
    return app.exec();
}
