#pragma once

#include <QMap>
#include <QString>

class FontRegistry;

// Enters every registered .ttf, .otf, .ttc and .otc file under its fonts'
// names, case folded (foldedName): a font file's family name, each collection member's
// full name, and then every other Windows family, full and typographic
// family name of the file where no such name is entered already. Only the files' directories and `name`,
// `head` and `OS/2` tables are read.
void catalogueRegisteredFonts(const FontRegistry &registry, QMap<QString, QString> *familyFiles);
