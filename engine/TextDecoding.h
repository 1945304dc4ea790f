#pragma once

#include <QByteArray>
#include <QString>

// Bytes in GB2312, the encoding of Chinese text files on older systems, read
// as GB18030, the superset that also carries every character beyond it.
QString decodeGb2312(const QByteArray &bytes);

// The text of a characters file: by its byte-order mark when it has one
// (UTF-8, UTF-16 LE or BE); as GB2312 (GB18030) when the bytes are not valid
// UTF-8; and, when they are valid in both (short Chinese texts often are:
// "学习" in GB2312 is "ѧϰ" in UTF-8), by which reading is more plausible:
// UTF-8 when it gives accented letters inside Latin words ("café"), else
// GB2312 when it gives Chinese characters. Detectors of encodings that
// weigh byte statistics guess wrong on texts this short.
QString decodeTextFile(const QByteArray &bytes);
