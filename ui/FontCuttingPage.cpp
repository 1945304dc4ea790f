// The "Font Cutting" page and its slots.

#include "Tessaglyph.h"

#include "PageRows.h"
#include "TextFields.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

namespace {

// The family the window draws the whole text with: the font's own when it
// has every character, else the one Qt's fallback (fontconfig's choice)
// draws it with, else the first installed family that has them all. Empty
// when no family has them all.
QString familyDrawing(const QString &text, const QFont &font)
{
    const QVector<uint> characters = text.simplified().remove(QLatin1Char(' ')).toUcs4();
    const auto drawsAll = [&characters](const QRawFont &raw) {
        return raw.isValid() && std::all_of(characters.begin(), characters.end(),
                                            [&raw](uint c) { return raw.supportsCharacter(c); });
    };
    if (drawsAll(QRawFont::fromFont(font)))
        return QFontInfo(font).family();
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        if (drawsAll(run.rawFont()))
            return run.rawFont().familyName();
    }
    for (const QString &family : QFontDatabase::families()) {
        if (drawsAll(QRawFont::fromFont(QFont(family))))
            return family;
    }
    return {};
}

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
    // A sample in the window's language, and the list on a family that has
    // it: "Accept" on a new window cuts what it shows.
    const QString sample = tr("Smaller fonts make web pages faster");
    charactersEdit->setPlainText(sample);
    const QString drawing = familyDrawing(sample, fontComboBox->currentFont());
    if (!drawing.isEmpty() && drawing != fontComboBox->currentText())
        fontComboBox->setCurrentFont(QFont(drawing));
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
    const QString path = chooseFontFile(this);
    if (!path.isEmpty()) {
        fontFileEdit->setText(path);
        moveFocusOn(openFontFileBtn);
    }
}

void Tessaglyph::slotSaveFontFile()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Save File"), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) {
        saveFontFileEdit->setText(folder);
        moveFocusOn(saveFontFileBtn);
    }
}

void Tessaglyph::slotImportTextFile()
{
    importTextFile(this, charactersEdit);
}
