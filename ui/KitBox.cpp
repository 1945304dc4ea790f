#include "KitBox.h"

#include "OpenExternally.h"
#include "PageRows.h"
#include "WebFontPage.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

QString kitUsageLines(const QString &cssPath)
{
    // The CSS writes one declaration a line, the family as a CSS string
    // whose line breaks are escaped: its first "font-family:" line is whole.
    QFile css(cssPath);
    if (!css.open(QIODevice::ReadOnly))
        return {};
    const QString declaration = QStringLiteral("  font-family: ");
    for (const QString &line : QString::fromUtf8(css.read(64 * 1024)).split(QLatin1Char('\n'))) {
        if (line.startsWith(declaration) && line.endsWith(QLatin1Char(';')))
            return QStringLiteral("<link rel=\"stylesheet\" href=\"%1\">\nfont-family: %2")
                    .arg(QFileInfo(cssPath).fileName().toHtmlEscaped(), line.mid(declaration.size()));
    }
    return {};
}

void openKitFolder(QWidget *parent, const QString &folder)
{
    openExternally(parent, QUrl::fromLocalFile(folder),
                   WebFontPage::tr("No program could open the folder %1. Open it by hand in a file manager."));
}

void openKitPreview(QWidget *parent, const QUrl &previewAddress)
{
    openExternally(parent, previewAddress,
                   WebFontPage::tr("No program could open the preview page. Open this address by hand in a web browser: %1"));
}

QWidget *kitBoxWidget(const QString &folder, const QString &cssPath, const QUrl &previewAddress)
{
    auto *widget = new QWidget;
    auto *openFolderBtn = new QPushButton(WebFontPage::tr("Open &Folder"));
    auto *openPreviewBtn = new QPushButton(WebFontPage::tr("Open &Preview"));
    openPreviewBtn->setEnabled(previewAddress.isValid());

    auto *note = new QLabel;
    note->setWordWrap(true);
    note->setTextFormat(Qt::RichText);
    note->setTextInteractionFlags(Qt::TextBrowserInteraction);
    note->setOpenExternalLinks(false); // opened as the button opens it, and said so when it cannot be
    if (previewAddress.isValid()) {
        const QString address = previewAddress.toString();
        note->setText(WebFontPage::tr("The preview page is served at %1 while the window is open; the page's "
                         "\"Preview\" opens it again.")
                              .arg(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped())));
    } else {
        note->setText(WebFontPage::tr("The preview page cannot be served: no local port could be opened."));
    }
    QObject::connect(note, &QLabel::linkActivated, widget,
                     [widget, previewAddress] { openKitPreview(widget, previewAddress); });
    QObject::connect(openFolderBtn, &QPushButton::clicked, widget, [widget, folder] { openKitFolder(widget, folder); });
    QObject::connect(openPreviewBtn, &QPushButton::clicked, widget,
                     [widget, previewAddress] { openKitPreview(widget, previewAddress); });

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(openFolderBtn);
    buttonRow->addWidget(openPreviewBtn);
    buttonRow->addStretch();
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(note);
    layout->addLayout(buttonRow);

    const QString usage = kitUsageLines(cssPath);
    if (!usage.isEmpty()) {
        auto *usageLabel = new QLabel(WebFontPage::tr("To &use the kit, link its CSS from a page beside it and name its family:"));
        usageLabel->setWordWrap(true);
        auto *usageEdit = new QPlainTextEdit(usage);
        usageEdit->setReadOnly(true);
        usageEdit->setTabChangesFocus(true);
        // Wrapped where the box ends (the copy keeps the two lines whole), with
        // room for three lines: the link is the longer one.
        usageEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        usageEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QFont fixed(QStringLiteral("monospace"));
        fixed.setStyleHint(QFont::Monospace);
        usageEdit->setFont(fixed);
        const QFontMetrics metrics(fixed);
        usageEdit->setFixedHeight(metrics.lineSpacing() * 3 + 2 * usageEdit->frameWidth()
                                  + int(usageEdit->document()->documentMargin() * 2) + 2);
        usageLabel->setBuddy(usageEdit);
        usageEdit->setAccessibleName(WebFontPage::tr("CSS to paste"));
        auto *copyBtn = new QPushButton(WebFontPage::tr("&Copy"));
        copyBtn->setAccessibleDescription(WebFontPage::tr("Copies the CSS to paste"));
        QObject::connect(copyBtn, &QPushButton::clicked, widget, [usage] { QApplication::clipboard()->setText(usage); });
        auto *copyRow = new QHBoxLayout;
        copyRow->addWidget(copyBtn);
        copyRow->addStretch();
        layout->addSpacing(4);
        layout->addWidget(usageLabel);
        layout->addWidget(usageEdit);
        layout->addLayout(copyRow);
        usageEdit->setObjectName(QStringLiteral("kitUsageEdit"));
        copyBtn->setObjectName(QStringLiteral("kitCopyUsageBtn"));
    }
    widget->setLayout(layout);

    // Names for tests and accessibility tools.
    openFolderBtn->setObjectName(QStringLiteral("openKitFolderBtn"));
    openPreviewBtn->setObjectName(QStringLiteral("openKitPreviewBtn"));
    note->setObjectName(QStringLiteral("kitPreviewNote"));
    nameButtonsWithoutMnemonics(widget);
    return widget;
}
