#include "KeepList.h"

#include <QChar>

#include <algorithm>

KeepList keepListFromText(const QString &text)
{
    KeepList codePoints;
    codePoints.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (!unit.isSurrogate()) {
            codePoints.append(unit.unicode());
        } else if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codePoints.append(QChar::surrogateToUcs4(unit, text.at(i + 1)));
            ++i;
        }
    }
    return codePoints;
}

KeepList sortedKeepList(KeepList codePoints)
{
    std::sort(codePoints.begin(), codePoints.end());
    codePoints.erase(std::unique(codePoints.begin(), codePoints.end()), codePoints.end());
    return codePoints;
}

KeepList drawnCharacters(const KeepList &codePoints)
{
    KeepList drawn;
    drawn.reserve(codePoints.size());
    std::copy_if(codePoints.cbegin(), codePoints.cend(), std::back_inserter(drawn),
                 [](quint32 codePoint) { return QChar::category(codePoint) != QChar::Other_Control; });
    return drawn;
}
