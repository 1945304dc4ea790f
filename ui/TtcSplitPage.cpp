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

    ttcFileEdit = new QLineEdit;
    ttcFileEdit->setReadOnly(true);
    QLabel *fileLabel = fieldLabel(tr("&Open File"), ttcFileEdit);
    openTtcFileBtn = iconButton(":open.png", tr("Choose a font collection"));
    QHBoxLayout *fileRow = editRow(ttcFileEdit, openTtcFileBtn);

    outputDirEdit = new QLineEdit;
    outputDirEdit->setReadOnly(true);
    outputDirEdit->setText(QDir::currentPath());
    QLabel *directoryLabel = fieldLabel(tr("Output &Directory"), outputDirEdit);
    outputDirBtn = iconButton(":output.png", tr("Choose the output folder"));
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
    if (!path.isEmpty()) {
        ttcFileEdit->setText(path);
        moveFocusOn(openTtcFileBtn);
    }
}

void Tessaglyph::slotSaveTtcFontFile()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Save File"), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) {
        outputDirEdit->setText(folder);
        moveFocusOn(outputDirBtn);
    }
}
