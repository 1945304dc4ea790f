#include "KitNames.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringList>

const QLatin1String kSharedPreviewFile("index.html");
const QLatin1String kSharedReportFile("report.json");
const QLatin1String kKitMarker("Tessaglyph web-font kit");

namespace {

// File systems take names of 255 bytes; a slice adds ".001.0123abcd.woff2"
// to its base, and the longest PostScript names run to 63 characters.
constexpr qsizetype kLongestBaseName = 64;
constexpr int kHashDigits = 8;

QString hashDigits(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(kHashDigits));
}

} // namespace

namespace {

QString cssBaseName(const QString &cssFile)
{
    return cssFile.endsWith(QLatin1String(".css")) ? cssFile.chopped(4) : cssFile;
}

} // namespace

QString kitPreviewFileName(const QString &cssFile)
{
    return cssBaseName(cssFile) + QStringLiteral(".html");
}

QString kitReportFileName(const QString &cssFile)
{
    return cssBaseName(cssFile) + QStringLiteral(".report.json");
}

QString asciiFileName(const QString &name)
{
    QString safe;
    for (const QChar c : name) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('_'))
            safe += c;
    }
    return safe;
}

QString kitBaseName(const QStringList &names, const QString &fallback)
{
    for (const QString &name : names) {
        const QString base = asciiFileName(name).left(kLongestBaseName);
        if (!base.isEmpty())
            return base;
    }
    return fallback;
}

QString sliceFileName(const QString &baseName, int number, const QByteArray &bytes)
{
    return QStringLiteral("%1.%2.%3.woff2")
            .arg(baseName, QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')), hashDigits(bytes));
}

bool sliceNameMatches(const QString &fileName, const QByteArray &bytes)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]+\\.[0-9]{3,}\\.([0-9a-f]{%1})\\.woff2$")
                                                    .arg(kHashDigits));
    const QRegularExpressionMatch match = pattern.match(fileName);
    return match.hasMatch() && match.captured(1) == hashDigits(bytes);
}

bool isKitText(const QByteArray &head)
{
    return head.left(kKitMarkerSpan).contains(QByteArray(kKitMarker.data(), kKitMarker.size()));
}
