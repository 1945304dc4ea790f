#include "OpenExternally.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QUrl>

void openExternally(QWidget *parent, const QUrl &url, const QString &failure)
{
    const QString shown = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    QPointer<QWidget> over(parent);
    const auto sayFailed = [over, failure, shown] {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("Tessaglyph", "Warning!"),
                        failure.arg(shown), QMessageBox::Ok, over ? over->window() : nullptr);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box.exec();
    };
    // Owned by no window: xdg-open may wait for the browser it started, which
    // closing the window must not end. It deletes itself when it ends. Its
    // output goes nowhere: a browser in the foreground must not fill a pipe
    // nobody reads.
    auto *process = new QProcess;
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, sayFailed](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status == QProcess::NormalExit && exitCode != 0)
            sayFailed();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, sayFailed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        sayFailed();
    });
    process->start();
}
