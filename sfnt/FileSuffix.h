#pragma once

#include <QFileInfo>
#include <QString>

// True when the text after the last "." of the file name, in Latin-1 and
// lower case, is `suffix` (given in lower case): "Sample.TTF" is a "ttf".
inline bool hasSuffix(const QString &path, QLatin1String suffix)
{
    return QString::fromLatin1(QFileInfo(path).suffix().toLatin1()).toLower() == suffix;
}

// A standalone font file: .ttf, or .otf for OpenType.
inline bool hasFontSuffix(const QString &path)
{
    return hasSuffix(path, QLatin1String("ttf")) || hasSuffix(path, QLatin1String("otf"));
}

// A WOFF2 font file, which is read as the sfnt font it holds.
inline bool hasWoff2Suffix(const QString &path)
{
    return hasSuffix(path, QLatin1String("woff2"));
}

// A font collection file: .ttc, or .otc for OpenType.
inline bool hasCollectionSuffix(const QString &path)
{
    return hasSuffix(path, QLatin1String("ttc")) || hasSuffix(path, QLatin1String("otc"));
}

// The suffix a standalone font is written with: its outlines decide.
inline QLatin1String fontSuffixFor(bool cffOutlines)
{
    return cffOutlines ? QLatin1String(".otf") : QLatin1String(".ttf");
}
