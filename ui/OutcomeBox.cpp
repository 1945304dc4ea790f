#include "OutcomeBox.h"

#include "engine/Jobs.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QStringList>

void showOutcomeBox(QWidget *parent, const JobOutcome &outcome, QWidget *extra)
{
    // The outcome's texts are translated already, in the window's context.
    const QString text = (QStringList(outcome.text) + outcome.notices + outcome.summary).join(QLatin1Char('\n'));
    const QMessageBox::Icon icon =
            outcome.box == JobOutcome::Box::Information ? QMessageBox::Information : QMessageBox::Warning;
    QMessageBox box(icon, outcome.title, text, QMessageBox::Ok, parent);
    if (extra) {
        // A message box lays out its icon over two rows, its text in the
        // first; the second row's text cell is free while no informative
        // text is set, and is where the extra widget goes.
        auto *grid = qobject_cast<QGridLayout *>(box.layout());
        if (grid)
            grid->addWidget(extra, 1, grid->columnCount() - 1);
        else
            extra->setParent(&box); // never shown, but still deleted with the box
    }
    box.exec();
}
