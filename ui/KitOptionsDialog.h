#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// A web-font kit's options, as the command line's --css-family, --language,
// --local and --font-display give them (WebFontRequest's fields of those names).
struct KitOptions
{
    QString cssFamily;  // empty: the font's typographic family
    QString language;   // zh-Hans, zh-Hant, zh-HK, ja, ko; empty: told from the font
    bool localSources = false;
    QString fontDisplay = QStringLiteral("swap");
};

// The small dialog off the "Web Font" page that edits them; "OK" keeps its
// fields, "Cancel" leaves the options as they were.
class KitOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    KitOptionsDialog(const KitOptions &options, QWidget *parent = nullptr);

    KitOptions options() const;

private:
    QLineEdit *cssFamilyEdit;
    QComboBox *languageBox;
    QComboBox *fontDisplayBox;
    QCheckBox *localSourcesBox;
};
