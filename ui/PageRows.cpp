#include "PageRows.h"

#include "LabelLink.h"
#include "WebAddress.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QWidget>

QHBoxLayout *editRow(QWidget *edit, QWidget *button)
{
    QHBoxLayout *layout = new QHBoxLayout;
    layout->addWidget(edit);
    layout->addWidget(button);
    return layout;
}

QPushButton *iconButton(const char *iconFile, const QString &toolTip)
{
    auto *button = new QPushButton(QIcon(QString::fromLatin1(iconFile)), QString());
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    return button;
}

QString withoutMnemonic(const QString &text)
{
    // "&&" is an ampersand.
    QString plain = text;
    plain.remove(QRegularExpression(QStringLiteral("\\(&[^&]\\)")));
    plain.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    return plain.trimmed();
}

QFontComboBox *familyList()
{
    auto *list = new QFontComboBox;
    // QFontComboBox::sizeHint() takes its width from the font alone, after
    // QComboBox's has measured every item for one it then drops.
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list;
}

QLabel *fieldLabel(const QString &text, QWidget *field)
{
    auto *label = new QLabel(text);
    label->setBuddy(field);
    field->setAccessibleName(withoutMnemonic(text));
    return label;
}

void nameButtonsWithoutMnemonics(QWidget *top)
{
    for (QAbstractButton *button : top->findChildren<QAbstractButton *>()) {
        if (button->accessibleName().isEmpty() && button->text().contains(QLatin1Char('&')))
            button->setAccessibleName(withoutMnemonic(button->text()));
    }
}

QString chooseFontFile(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QCoreApplication::translate("Tessaglyph", "Select File"),
                                        QStringLiteral("/usr/share/fonts"),
                                        QCoreApplication::translate("Tessaglyph", "Font File(*.ttf *.otf *.woff2)"));
}

void moveFocusOn(QWidget *button)
{
    for (QWidget *next = button->nextInFocusChain(); next && next != button; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(button->window())
            && !next->focusProxy()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

QLabel *addWebLinkRows(QVBoxLayout *pageLayout)
{
    LabelLink *logo = new LabelLink(nullptr);
    logo->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    logo->setLineWidth(4);
    QHBoxLayout *logoRow = new QHBoxLayout;
    logoRow->addStretch();
    logoRow->addWidget(logo);

    const QString address = QString::fromLatin1(kWebAddress);
    QLabel *webLinkLabel = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address));
    webLinkLabel->setOpenExternalLinks(true);
    QHBoxLayout *linkRow = new QHBoxLayout;
    linkRow->addStretch();
    linkRow->addWidget(webLinkLabel);

    pageLayout->addStretch();
    pageLayout->addLayout(logoRow);
    pageLayout->addLayout(linkRow);
    return webLinkLabel;
}

void enableSourceRows(bool fromSystem, std::initializer_list<QWidget *> familyRows,
                      std::initializer_list<QWidget *> fileRows)
{
    for (QWidget *row : familyRows)
        row->setEnabled(fromSystem);
    for (QWidget *row : fileRows)
        row->setEnabled(!fromSystem);
}
