#pragma once

#include <QString>
#include <QVector>

// The characters a subset keeps, as Unicode code points.
using KeepList = QVector<quint32>;

// A run of code points, first to last.
struct CodePointSpan
{
    quint32 first = 0;
    quint32 last = 0;
};

// Every character of the text, first to last, unfiltered: line breaks,
// spaces and repeats each give one entry, and a surrogate pair gives the one
// character beyond U+FFFF it stands for. A lone surrogate stands for no
// character and gives nothing.
KeepList keepListFromText(const QString &text);

// The keep list as the engine holds it: ascending, each value once.
KeepList sortedKeepList(KeepList codePoints);

// The characters of the list that a font draws: all but the control
// characters (line breaks, tabs), which no font is expected to have. A text
// of control characters only is an empty text.
KeepList drawnCharacters(const KeepList &codePoints);
