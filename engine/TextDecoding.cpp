#include "TextDecoding.h"

#include <QStringDecoder>

#include <algorithm>

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

enum class Script { Latin, Greek, Cyrillic, Other };

// The script of a letter, as far as telling the two readings apart needs:
// the letters of today's Latin, Greek and Cyrillic alphabets. The archaic and
// rarer letters that GB2312 Chinese mostly reads as in UTF-8 ("学" as "ѧ",
// "一" as "һ") are Other.
Script scriptOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xC0 && u <= 0x24F))
        return Script::Latin;
    // Iota and upsilon with dialytika stand after another vowel, never
    // first: as capitals, "为" would be "Ϊ".
    if (u >= 0x386 && u <= 0x3CE && u != 0x3AA && u != 0x3AB)
        return Script::Greek;
    if ((u >= 0x400 && u <= 0x45F) || u == 0x490 || u == 0x491)
        return Script::Cyrillic;
    return Script::Other;
}

bool isGreekOrCyrillicVowel(QChar c)
{
    const QChar base = QString(c).normalized(QString::NormalizationForm_D).at(0).toLower();
    return QStringView(u"αεηιουωаеиоуыэюяіє").contains(base);
}

// What the UTF-8 reading of bytes that are also GB2312 holds: non-ASCII
// letters in words of one script, and non-ASCII characters that no such word
// vouches for. Read as UTF-8, GB2312 Chinese becomes odd letters of Latin,
// Greek or Cyrillic ("学习" becomes "ѧϰ"), mixed with each other or with ASCII
// letters, or runs a real word would not have ("谢谢" becomes "лл", "喂喂"
// "ιι"). UTF-8 that is also GB2312 is accented Latin inside words of ASCII
// letters ("café"), or Cyrillic а-п and Greek α-ο ("дом где").
struct Utf8Reading
{
    int inWords = 0;
    int inGreekOrCyrillicWords = 0; // of those in words
    int odd = 0;
};

bool isWordCharacter(QChar c)
{
    return c.isLetter() || (c.unicode() < 0x80 && c.isDigit());
}

Utf8Reading readUtf8Words(const QString &text)
{
    Utf8Reading reading;
    for (int start = 0; start < text.size();) {
        const QChar first = text.at(start);
        if (!isWordCharacter(first)) {
            // Quotation marks and other punctuation (« », ¿) go with any
            // script; symbols and other numbers ("录" reads as "¼") do not.
            reading.odd += first.unicode() >= 0x80 && !first.isPunct();
            ++start;
            continue;
        }
        int end = start, letters = 0, nonAscii = 0, vowels = 0;
        bool ascii = false, oneScript = true;
        Script script = Script::Other;
        for (; end < text.size() && isWordCharacter(text.at(end)); ++end) {
            const QChar c = text.at(end);
            if (!c.isLetter())
                continue;
            const Script letterScript = scriptOf(c);
            oneScript = oneScript && letterScript != Script::Other && (letters == 0 || letterScript == script);
            script = letterScript;
            ++letters;
            ascii = ascii || c.unicode() < 0x80;
            nonAscii += c.unicode() >= 0x80;
            vowels += isGreekOrCyrillicVowel(c);
        }
        start = end;
        if (nonAscii == 0)
            continue;
        // Accented Latin letters are words only with ASCII letters beside
        // them; a Greek or Cyrillic word holds a vowel and a consonant, and
        // one of a single letter ("в") tells neither way.
        const bool word = oneScript
                && (script == Script::Latin ? ascii : letters == 1 || (vowels > 0 && vowels < letters));
        if (!word) {
            reading.odd += nonAscii;
        } else if (script == Script::Latin || letters > 1) {
            reading.inWords += nonAscii;
            if (script != Script::Latin)
                reading.inGreekOrCyrillicWords += nonAscii;
        }
    }
    return reading;
}

bool isHanOrCjkPunctuation(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x303F) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
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

DecodedText decodeTextFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), TextEncoding::Utf8};
    if (bytes.startsWith("\xFF\xFE"))
        return {QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless)(bytes.mid(2)),
                TextEncoding::Utf16};
    if (bytes.startsWith("\xFE\xFF"))
        return {QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless)(bytes.mid(2)),
                TextEncoding::Utf16};

    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return {decodeGb2312(bytes), TextEncoding::Gb2312};
    // Pure ASCII reads the same either way.
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return uchar(byte) < 0x80; });
    if (ascii || !isGb2312Shaped(bytes))
        return {text, TextEncoding::Utf8};
    // Both readings are valid. Each Greek or Cyrillic letter is a hanzi in
    // GB2312, with no ASCII letter beside it to tell them apart: UTF-8 when
    // its reading is such words throughout. Otherwise UTF-8 when words of one
    // script outnumber the Chinese characters of the GB2312 reading; a tie
    // goes to GB2312, the encoding of Chinese text files without a mark.
    const QString gb2312 = decodeGb2312(bytes);
    const Utf8Reading reading = readUtf8Words(text);
    const bool utf8Wins = (reading.odd == 0 && reading.inGreekOrCyrillicWords > 0)
            || reading.inWords > hanApartFromAsciiLetters(gb2312);
    return utf8Wins ? DecodedText{text, TextEncoding::Utf8} : DecodedText{gb2312, TextEncoding::Gb2312};
}
