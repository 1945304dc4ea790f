#include "TableTags.h"

const QList<QByteArray> tableTags = {
    QByteArrayLiteral("OS/2"), QByteArrayLiteral("cmap"), QByteArrayLiteral("glyf"),
    QByteArrayLiteral("head"), QByteArrayLiteral("hhea"), QByteArrayLiteral("hmtx"),
    QByteArrayLiteral("loca"), QByteArrayLiteral("maxp"), QByteArrayLiteral("name"),
    QByteArrayLiteral("post"),
};
