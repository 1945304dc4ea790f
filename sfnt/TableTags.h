#pragma once

#include <QByteArray>
#include <QList>

// The table tags looked up by index, in ascending byte order.
extern const QList<QByteArray> tableTags;

enum TableTagIndex : quint8 {
    TagOS2 = 0,
    TagCmap = 1,
    TagGlyf = 2,
    TagHead = 3,
    TagHhea = 4,
    TagHmtx = 5,
    TagLoca = 6,
    TagMaxp = 7,
    TagName = 8,
    TagPost = 9,
};
