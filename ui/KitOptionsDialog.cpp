#include "KitOptionsDialog.h"

#include "PageRows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A note under a field: what choosing it means, in a smaller hand.
QLabel *note(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

} // namespace

KitOptionsDialog::KitOptionsDialog(const KitOptions &options, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Web Font Options"));

    cssFamilyEdit = new QLineEdit(options.cssFamily);
    cssFamilyEdit->setPlaceholderText(tr("The font's own family"));

    languageBox = new QComboBox;
    languageBox->addItem(tr("Automatic: told from the font"), QString());
    const QList<QPair<QString, QString>> languages = {
        {tr("Simplified Chinese (zh-Hans)"), QStringLiteral("zh-Hans")},
        {tr("Traditional Chinese (zh-Hant)"), QStringLiteral("zh-Hant")},
        {tr("Hong Kong Chinese (zh-HK)"), QStringLiteral("zh-HK")},
        {tr("Japanese (ja)"), QStringLiteral("ja")},
        {tr("Korean (ko)"), QStringLiteral("ko")},
    };
    for (const auto &[name, tag] : languages)
        languageBox->addItem(name, tag);
    languageBox->setCurrentIndex(qMax(0, languageBox->findData(options.language)));

    // CSS keywords, the same in every language.
    fontDisplayBox = new QComboBox;
    for (const char *display : {"auto", "block", "swap", "fallback", "optional"})
        fontDisplayBox->addItem(QString::fromLatin1(display));
    fontDisplayBox->setCurrentIndex(qMax(0, fontDisplayBox->findText(options.fontDisplay)));

    localSourcesBox = new QCheckBox(tr("Name &installed copies with local()"));
    localSourcesBox->setChecked(options.localSources);

    auto *form = new QFormLayout;
    form->addRow(fieldLabel(tr("CSS &family name"), cssFamilyEdit), cssFamilyEdit);
    form->addRow(fieldLabel(tr("&Language"), languageBox), languageBox);
    form->addRow(note(tr("Orders the CJK slices by the language's character frequencies. A kit of one "
                         "language leaves out the forms other languages use.")));
    form->addRow(fieldLabel(tr("font-&display"), fontDisplayBox), fontDisplayBox);
    form->addRow(localSourcesBox);
    form->addRow(note(tr("An installed copy of the font, of whatever version, then draws in place of the "
                         "slices. The preview page never uses one.")));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto *layout = new QVBoxLayout;
    layout->addLayout(form);
    layout->addWidget(buttons);
    setLayout(layout);
    setMinimumWidth(380);

    // Names for tests and accessibility tools.
    cssFamilyEdit->setObjectName(QStringLiteral("kitCssFamilyEdit"));
    languageBox->setObjectName(QStringLiteral("kitLanguageBox"));
    fontDisplayBox->setObjectName(QStringLiteral("kitFontDisplayBox"));
    localSourcesBox->setObjectName(QStringLiteral("kitLocalSourcesBox"));
    nameButtonsWithoutMnemonics(this);
}

KitOptions KitOptionsDialog::options() const
{
    KitOptions options;
    options.cssFamily = cssFamilyEdit->text().trimmed();
    options.language = languageBox->currentData().toString();
    options.localSources = localSourcesBox->isChecked();
    options.fontDisplay = fontDisplayBox->currentText();
    return options;
}
