#include "ui/Tessaglyph.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The window's translation: tessaglyph_zh from the current folder, as it
// always was; else the one for the user's locale, from the installed
// translations folder, beside the program, or in the build's translations
// folder beside it.
void loadTranslation(QTranslator *translator)
{
    if (translator->load(QStringLiteral("tessaglyph_zh")))
        return;
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString &folder : {programFolder + QStringLiteral("/../share/tessaglyph/translations"), programFolder,
                                  programFolder + QStringLiteral("/translations")}) {
        if (translator->load(QLocale(), QStringLiteral("tessaglyph"), QStringLiteral("_"), folder))
            return;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString iconFile = QStringLiteral("tessaglyph.ico");
    QApplication::setWindowIcon(QIcon(QFileInfo::exists(iconFile) ? iconFile : QStringLiteral(":icon.png")));

    // Installed before the window is built, so that every text it sets is translated.
    QTranslator translator;
    loadTranslation(&translator);
    QCoreApplication::installTranslator(&translator);
    // Qt's own texts (dialog labels, message-box buttons) in the same language.
    QTranslator qtTranslator;
    const QLocale language = translator.isEmpty() ? QLocale() : QLocale(translator.language());
    if (qtTranslator.load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    Tessaglyph window;
    window.show();
    return app.exec();
}
