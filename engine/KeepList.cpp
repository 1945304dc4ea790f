#include "KeepList.h"

#include <algorithm>

QVector<quint16> keepListFromText(const QString &text)
{
    QVector<quint16> units;
    units.reserve(text.size());
    for (QChar unit : text)
        units.append(unit.unicode());
    return units;
}

QVector<quint16> sortedKeepList(QVector<quint16> units)
{
    std::sort(units.begin(), units.end());
    units.erase(std::unique(units.begin(), units.end()), units.end());
    return units;
}
