#pragma once

#include <QFileInfo>
#include <QString>

// True when the text after the last "." of the file name, in Latin-1 and
// lower case, is `suffix` (given in lower case): "Sample.TTF" is a "ttf".
inline bool hasSuffix(const QString &path, QLatin1String suffix)
{
    return QString::fromLatin1(QFileInfo(path).suffix().toLatin1()).toLower() == suffix;
}
