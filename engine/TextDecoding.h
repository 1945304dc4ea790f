#pragma once

#include <QByteArray>
#include <QString>

// Bytes in GB2312, the encoding of Chinese text files on older systems, read
// as GB18030, the superset that also carries every character beyond it.
QString decodeGb2312(const QByteArray &bytes);

// The encoding a text file was read in.
enum class TextEncoding { Utf8, Utf16, Gb2312 };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// The text of a characters file, and the encoding it was read in: by its
// byte-order mark when it has one (UTF-8, UTF-16 LE or BE); as GB2312
// (GB18030) when the bytes are not valid UTF-8; and, when they are valid in
// both (short Chinese texts often are: "学习" in GB2312 is "ѧϰ" in UTF-8), by
// which reading is more plausible: UTF-8 when it gives words of one script
// (accented letters inside Latin words, "café"; Greek or Cyrillic words, "дом
// где"), else GB2312 when it gives Chinese characters. Pure ASCII is UTF-8.
// Detectors of encodings that weigh byte statistics guess wrong on texts
// this short.
DecodedText decodeTextFile(const QByteArray &bytes);
