#include "FileNamer.h"

#include <QFile>

#include <climits>

QString printableName(const QString &name)
{
    QString printable;
    printable.reserve(name.size());
    for (QChar c : name) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            break;
        default:
            printable.append(c);
        }
    }
    return printable;
}

bool isUsableFileName(const QString &name)
{
    // A leading dot would hide the file (and "." and ".." are folders); a
    // name that the file system encoding cannot carry (a lone surrogate, say)
    // would land on disk under another name.
    const QByteArray encoded = QFile::encodeName(name);
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/'))
            && !name.contains(QLatin1Char('\\')) && encoded.size() <= NAME_MAX && QFile::decodeName(encoded) == name;
}

FileNamer::Presence FileNamer::presence(const QString &fileName, const FontNames &names) const
{
    return m_presence ? m_presence(fileName, names) : Presence::Absent;
}

bool FileNamer::isFree(const QString &baseName, const QString &suffix, const FontNames &names) const
{
    return isUsableFileName(baseName + suffix) && !m_taken.contains(baseName)
            && presence(baseName + suffix, names) != Presence::Other;
}

FileNamer::Choice FileNamer::choose(const FontNames &names, const QString &suffix)
{
    QString family = printableName(names.family);
    // Without a printable family there is nothing to number on from (fuzzed
    // fonts hold only control characters): the collection's name stands in,
    // and the index tells its members apart.
    const bool unnamed = family.isEmpty();
    if (unnamed)
        family = m_collection;
    if (!isUsableFileName(family + suffix))
        return {};
    QString chosen;
    if (!unnamed) {
        const QString subfamily = printableName(names.subfamily);
        const QString styled =
                subfamily.isEmpty() || subfamily.compare(QLatin1String("Regular"), Qt::CaseInsensitive) == 0
                ? family
                : family + QLatin1Char(' ') + subfamily;
        for (const QString &candidate : {family, printableName(names.fullName), styled}) {
            if (isFree(candidate, suffix, names)) {
                chosen = candidate;
                break;
            }
        }
    }
    if (chosen.isEmpty()) {
        // Counting on from where this family's numbers stopped keeps the
        // search short however the other names fall.
        int &next = m_nextNumber[family];
        int number = qMax(names.index, next);
        auto numbered = [&] { return family + QLatin1Char(' ') + QString::number(number); };
        while (m_taken.contains(numbered()) || presence(numbered() + suffix, names) == Presence::Other)
            ++number;
        next = number + 1;
        chosen = numbered();
        if (!isUsableFileName(chosen + suffix))
            return {}; // a family a few characters short of the longest name
    }
    Choice choice;
    choice.fileName = chosen + suffix;
    m_taken.insert(chosen);
    choice.existed = presence(choice.fileName, names) != Presence::Absent;
    return choice;
}
