#pragma once

#include <QString>
#include <QVector>

// Every UTF-16 code unit of the text, first to last, unfiltered: line breaks,
// repeats and both halves of a surrogate pair each give one entry.
QVector<quint16> keepListFromText(const QString &text);

// The keep list as the engine holds it: ascending, each value once.
QVector<quint16> sortedKeepList(QVector<quint16> units);
