#include "TextDecoding.h"

#include <QStringDecoder>

QString decodeGb2312(const QByteArray &bytes)
{
    QStringDecoder gb18030("GB18030", QStringConverter::Flag::Stateless);
    if (gb18030.isValid())
        return gb18030(bytes);
    // Without the codec, keep what ASCII the text has readable.
    return QString::fromLatin1(bytes);
}

QString decodeTextFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless)(bytes.mid(2));

    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeGb2312(bytes);
}
