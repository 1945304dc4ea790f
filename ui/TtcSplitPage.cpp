// The "TTC Font Split" page and its slots.

#include "Tessaglyph.h"

#include "PageRows.h"
#include "catalogue/Folders.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QWidget *Tessaglyph::createTtcSplitPage()
{
    QWidget *page = new QWidget;

    QLabel *fileLabel = new QLabel(tr("Open File"));
    ttcFileEdit = new QLineEdit;
    ttcFileEdit->setReadOnly(true);
    openTtcFileBtn = new QPushButton(QIcon(QStringLiteral(":open.png")), QString());
    QHBoxLayout *fileRow = editRow(ttcFileEdit, openTtcFileBtn);

    QLabel *directoryLabel = new QLabel(tr("Output Directory"));
    outputDirEdit = new QLineEdit;
    outputDirEdit->setReadOnly(true);
    outputDirEdit->setText(QDir::currentPath());
    outputDirBtn = new QPushButton(QIcon(QStringLiteral(":output.png")), QString());
    QHBoxLayout *directoryRow = editRow(outputDirEdit, outputDirBtn);

    QVBoxLayout *pageLayout = new QVBoxLayout;
    QGridLayout *grid = new QGridLayout;
    grid->addWidget(fileLabel, 0, 0);
    grid->addLayout(fileRow, 0, 1);
    grid->addWidget(directoryLabel, 1, 0);
    grid->addLayout(directoryRow, 1, 1);
    pageLayout->addLayout(grid);
    QLabel *webLinkLabel = addWebLinkRows(pageLayout);
    page->setLayout(pageLayout);

    connect(openTtcFileBtn, SIGNAL(clicked()), this, SLOT(slotOpenTtcFontFile()));
    connect(outputDirBtn, SIGNAL(clicked()), this, SLOT(slotSaveTtcFontFile()));
    connect(webLinkLabel, SIGNAL(linkActivated(QString)), this, SLOT(slotWebLink(QString)));

    // Names for tests and accessibility tools.
    ttcFileEdit->setObjectName(QStringLiteral("ttcFileEdit"));
    openTtcFileBtn->setObjectName(QStringLiteral("openTtcFileBtn"));
    outputDirEdit->setObjectName(QStringLiteral("outputDirEdit"));
    outputDirBtn->setObjectName(QStringLiteral("outputDirBtn"));
    return page;
}

void Tessaglyph::slotOpenTtcFontFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Select File"), fontsFolder(),
                                                      tr("TrueType Collection File(*.ttc)"));
    if (!path.isEmpty())
        ttcFileEdit->setText(path);
}

void Tessaglyph::slotSaveTtcFontFile()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Save File"), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        outputDirEdit->setText(folder);
}
