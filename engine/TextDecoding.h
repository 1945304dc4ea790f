#pragma once

#include <QByteArray>
#include <QString>

// Bytes in GB2312, the encoding of Chinese text files on older systems, read
// as GB18030, the superset that also carries every character beyond it.
QString decodeGb2312(const QByteArray &bytes);

// The text of a characters file: by its byte-order mark when it has one
// (UTF-8, UTF-16 LE or BE), as UTF-8 when the bytes are valid UTF-8, and as
// GB2312 (GB18030) otherwise.
QString decodeTextFile(const QByteArray &bytes);
