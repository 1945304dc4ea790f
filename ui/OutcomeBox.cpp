#include "OutcomeBox.h"

#include "engine/Jobs.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>

namespace {

// Up to this many lines the box shows its lines in its own text; more go
// into a list that scrolls (a kit of a big family has a line per face).
constexpr int kLinesInText = 8;
// The list's height, in lines, before the screen has a say.
constexpr int kListLines = 10;
constexpr int kFewestListLines = 3;

// A message box that fits its screen: QMessageBox sizes itself to its whole
// content when shown, whatever the screen's height; the list gives up what
// the screen lacks.
class FittedBox : public QMessageBox
{
public:
    FittedBox(Icon icon, const QString &title, const QString &text, QWidget *parent)
        : QMessageBox(icon, title, text, QMessageBox::Ok, parent)
    {
    }

    QPlainTextEdit *list = nullptr;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event); // sets the box's fixed size
        QScreen *shown = screen();
        if (!shown)
            return;
        // Room for the window manager's title bar and frame, which are not
        // known before the box is mapped.
        const int frame = qMax(frameGeometry().height() - height(), 40);
        // A few pixels to spare: the layout rounds the list's share.
        const int excess = height() + frame + 8 - shown->availableGeometry().height();
        if (excess <= 0 || !list)
            return;
        const int fewest = list->fontMetrics().lineSpacing() * kFewestListLines + 2 * list->frameWidth();
        const int listHeight = qMax(fewest, list->maximumHeight() - excess);
        const int givenUp = list->maximumHeight() - listHeight;
        list->setFixedHeight(listHeight);
        setFixedHeight(height() - qMax(givenUp, 0));
        // Its bottom on the screen, and above it what room there is for the title bar.
        const QRect available = shown->availableGeometry();
        const int top = qMin(y(), available.bottom() + 1 - height());
        move(x(), qMax(top, available.top() + qBound(0, available.height() - height(), frame)));
    }
};

QPlainTextEdit *linesList(const QStringList &lines)
{
    auto *list = new QPlainTextEdit(lines.join(QLatin1Char('\n')));
    list->setReadOnly(true);
    list->setTabChangesFocus(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setFrameShape(QFrame::StyledPanel);
    const int lineSpacing = list->fontMetrics().lineSpacing();
    list->setFixedHeight(lineSpacing * qMin(int(lines.size()), kListLines) + 2 * list->frameWidth()
                         + int(list->document()->documentMargin() * 2) + 2);
    list->setMinimumWidth(360);
    list->setObjectName(QStringLiteral("outcomeLines"));
    return list;
}

} // namespace

void showOutcomeBox(QWidget *parent, const JobOutcome &outcome, QWidget *extra)
{
    // The outcome's texts are translated already, in the window's context.
    const QStringList lines = outcome.notices + outcome.summary;
    const bool listed = lines.size() > kLinesInText;
    const QString text = listed ? outcome.text : (QStringList(outcome.text) + lines).join(QLatin1Char('\n'));
    const QMessageBox::Icon icon =
            outcome.box == JobOutcome::Box::Information ? QMessageBox::Information : QMessageBox::Warning;
    FittedBox box(icon, outcome.title, text, parent);
    QWidget *under = extra;
    if (listed) {
        box.list = linesList(lines);
        box.list->setAccessibleName(QCoreApplication::translate("Tessaglyph", "The job's lines"));
        under = new QWidget;
        auto *layout = new QVBoxLayout;
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(box.list);
        if (extra)
            layout->addWidget(extra);
        under->setLayout(layout);
    }
    if (under) {
        // A message box lays out its icon over two rows, its text in the
        // first; the second row's text cell is free while no informative
        // text is set, and is where the list and the extra widget go.
        auto *grid = qobject_cast<QGridLayout *>(box.layout());
        if (grid)
            grid->addWidget(under, 1, grid->columnCount() - 1);
        else
            under->setParent(&box); // never shown, but still deleted with the box
    }
    box.exec();
}
