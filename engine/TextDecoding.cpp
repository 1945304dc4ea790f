#include "TextDecoding.h"

#include <QStringDecoder>

namespace {

// Whether every byte above ASCII pairs into a GB2312 character: both bytes
// in 0xA1-0xFE. UTF-8 text rarely looks so, as half its continuation bytes
// lie below 0xA1; a short run of accented Latin, Greek or Cyrillic can.
bool isGb2312Shaped(const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        const uchar lead = uchar(bytes.at(i));
        if (lead < 0x80)
            continue;
        if (lead < 0xA1 || lead == 0xFF || i + 1 == bytes.size())
            return false;
        const uchar trail = uchar(bytes.at(++i));
        if (trail < 0xA1 || trail == 0xFF)
            return false;
    }
    return true;
}

bool isAsciiLetter(QChar c)
{
    return c.unicode() < 0x80 && c.isLetter();
}

bool isAccentedLatinLetter(QChar c)
{
    return c.unicode() >= 0xC0 && c.unicode() <= 0x24F && c.isLetter();
}

bool isHanOrCjkPunctuation(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x303F) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

// How plausible each reading of bytes that are both valid UTF-8 and GB2312
// is. Read as UTF-8, GB2312 Chinese becomes odd letters of Latin, Greek or
// Cyrillic ("学习" becomes "ѧϰ"), mostly apart from ASCII letters; UTF-8
// that reads as GB2312 is almost always accented Latin inside words of
// ASCII letters ("café"), which in GB2312 puts a hanzi inside a Latin word.
int accentedLettersInLatinWords(const QString &text)
{
    int count = 0;
    for (int start = 0; start < text.size();) {
        int end = start;
        bool hasAscii = false;
        int accented = 0;
        while (end < text.size() && text.at(end).isLetterOrNumber()) {
            hasAscii = hasAscii || isAsciiLetter(text.at(end));
            accented += isAccentedLatinLetter(text.at(end));
            ++end;
        }
        if (hasAscii)
            count += accented;
        start = end + 1;
    }
    return count;
}

int hanApartFromAsciiLetters(const QString &text)
{
    int count = 0;
    for (int i = 0; i < text.size(); ++i) {
        const bool besideLetter = (i > 0 && isAsciiLetter(text.at(i - 1)))
                || (i + 1 < text.size() && isAsciiLetter(text.at(i + 1)));
        count += isHanOrCjkPunctuation(text.at(i)) && !besideLetter;
    }
    return count;
}

} // namespace

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
    if (utf8.hasError())
        return decodeGb2312(bytes);
    if (!isGb2312Shaped(bytes))
        return text;
    // Both readings are valid (pure ASCII reads the same either way); a
    // tie goes to GB2312, the encoding of Chinese text files without a mark.
    const QString gb2312 = decodeGb2312(bytes);
    return accentedLettersInLatinWords(text) > hanApartFromAsciiLetters(gb2312) ? text : gb2312;
}
