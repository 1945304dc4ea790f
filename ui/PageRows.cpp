#include "PageRows.h"

#include "LabelLink.h"
#include "WebAddress.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

QHBoxLayout *editRow(QWidget *edit, QWidget *button)
{
    QHBoxLayout *layout = new QHBoxLayout;
    layout->addWidget(edit);
    layout->addWidget(button);
    return layout;
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
