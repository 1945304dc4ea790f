// The "Font Cutting" page and its slots.

#include "Tessaglyph.h"

#include "PageRows.h"
#include "TextFields.h"
#include "engine/TextDecoding.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {
// Fourteen characters, as GB2312 bytes: "字体裁剪工具让中文网页更轻快".
const char kSampleText[] = "\xD7\xD6\xCC\xE5\xB2\xC3\xBC\xF4\xB9\xA4\xBE\xDF\xC8\xC3"
                           "\xD6\xD0\xCE\xC4\xCD\xF8\xD2\xB3\xB8\xFC\xC7\xE1\xBF\xEC";

// Where installed .ttf files live on this system.
const char kSystemFontFolder[] = "/usr/share/fonts";
} // namespace

QWidget *Tessaglyph::createFontCuttingPage()
{
    QWidget *page = new QWidget;

    systemFontCheckBox = new QCheckBox(tr("Select From &System Font"));
    systemFontCheckBox->setChecked(true);
    fontComboBox = familyList();
    selectFontLabel = fieldLabel(tr("Select &Font"), fontComboBox);

    fontFileEdit = new QLineEdit;
    fontFileEdit->setReadOnly(true);
    fontFileLabel = fieldLabel(tr("Select Font Fi&le"), fontFileEdit);
    openFontFileBtn = iconButton(":open.png", tr("Choose a font file"));
    QHBoxLayout *fontFileRow = editRow(fontFileEdit, openFontFileBtn);
    fontFileLabel->setEnabled(false);
    fontFileEdit->setEnabled(false);
    openFontFileBtn->setEnabled(false);

    saveFontFileEdit = new QLineEdit;
    saveFontFileEdit->setReadOnly(true);
    saveFontFileLabel = fieldLabel(tr("Sa&ve Font File"), saveFontFileEdit);
    saveFontFileBtn = iconButton(":output.png", tr("Choose the output folder"));
    QHBoxLayout *saveFontFileRow = editRow(saveFontFileEdit, saveFontFileBtn);

    charactersEdit = new QTextEdit;
    charactersEdit->setPlainText(decodeGb2312(QByteArray(kSampleText)));
    letTabMoveFocus(charactersEdit);
    QLabel *charactersLabel = fieldLabel(tr("Please input the &characters"), charactersEdit);

    QLabel *fillerLabel = new QLabel;
    importTextFileBtn = new QPushButton(QIcon(QStringLiteral(":open.png")), tr("I&mport From File"));

    QVBoxLayout *pageLayout = new QVBoxLayout;
    QGridLayout *grid = new QGridLayout;
    grid->addWidget(systemFontCheckBox, 0, 0);
    grid->addWidget(selectFontLabel, 1, 0);
    grid->addWidget(fontComboBox, 1, 1);
    grid->addWidget(fontFileLabel, 2, 0);
    grid->addLayout(fontFileRow, 2, 1);
    grid->addWidget(saveFontFileLabel, 3, 0);
    grid->addLayout(saveFontFileRow, 3, 1);
    grid->addWidget(charactersLabel, 4, 0);
    grid->addWidget(charactersEdit, 5, 0, 1, 2);
    grid->addWidget(fillerLabel, 6, 0);
    grid->addWidget(importTextFileBtn, 6, 1);
    pageLayout->addLayout(grid);
    QLabel *webLinkLabel = addWebLinkRows(pageLayout);
    page->setLayout(pageLayout);

    connect(systemFontCheckBox, SIGNAL(clicked()), this, SLOT(slotDefulatFontChecked()));
    connect(openFontFileBtn, SIGNAL(clicked()), this, SLOT(slotOpenFontFile()));
    connect(saveFontFileBtn, SIGNAL(clicked()), this, SLOT(slotSaveFontFile()));
    connect(importTextFileBtn, SIGNAL(clicked()), this, SLOT(slotImportTextFile()));
    connect(webLinkLabel, SIGNAL(linkActivated(QString)), this, SLOT(slotWebLink(QString)));

    // Names for tests and accessibility tools.
    systemFontCheckBox->setObjectName(QStringLiteral("systemFontCheckBox"));
    selectFontLabel->setObjectName(QStringLiteral("selectFontLabel"));
    fontComboBox->setObjectName(QStringLiteral("fontComboBox"));
    fontFileLabel->setObjectName(QStringLiteral("fontFileLabel"));
    fontFileEdit->setObjectName(QStringLiteral("fontFileEdit"));
    openFontFileBtn->setObjectName(QStringLiteral("openFontFileBtn"));
    saveFontFileLabel->setObjectName(QStringLiteral("saveFontFileLabel"));
    saveFontFileEdit->setObjectName(QStringLiteral("saveFontFileEdit"));
    saveFontFileBtn->setObjectName(QStringLiteral("saveFontFileBtn"));
    charactersEdit->setObjectName(QStringLiteral("charactersEdit"));
    importTextFileBtn->setObjectName(QStringLiteral("importTextFileBtn"));
    return page;
}

void Tessaglyph::slotDefulatFontChecked()
{
    enableSourceRows(systemFontCheckBox->isChecked(), {selectFontLabel, fontComboBox},
                     {fontFileLabel, fontFileEdit, openFontFileBtn});
}

void Tessaglyph::slotOpenFontFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Select File"), QString::fromLatin1(kSystemFontFolder),
                                                      tr("Font File(*.ttf *.woff2)"));
    if (!path.isEmpty())
        fontFileEdit->setText(path);
}

void Tessaglyph::slotSaveFontFile()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Save File"), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        saveFontFileEdit->setText(folder);
}

void Tessaglyph::slotImportTextFile()
{
    importTextFile(this, charactersEdit);
}
