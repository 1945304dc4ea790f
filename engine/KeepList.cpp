#include "KeepList.h"

QVector<quint16> keepListFromText(const QString &text)
{
    QVector<quint16> units;
    units.reserve(text.size());
    for (QChar unit : text)
        units.append(unit.unicode());
    return units;
}
