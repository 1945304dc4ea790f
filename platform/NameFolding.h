#pragma once

#include <QString>

// The form in which font names are compared and looked up, so that a family
// typed in any case finds its font: Unicode case folding, under which a
// final sigma matches a medial one. Qt folds one character to one, so the
// one full folding a family name is likely to need is added by hand: ß (and
// capital ẞ, which folds to it) as "ss", as fontconfig compares names.
inline QString foldedName(const QString &name)
{
    return name.toCaseFolded().replace(QChar(0x00DF), QLatin1String("ss"));
}
