// Fuzz target: the bytes as a collection. Its full names, the catalogue's
// reading of it, and a split into a fresh folder, after which nothing may be
// left outside that folder, no temporary file inside it, and no file the
// report does not name as written.

#include "catalogue/CatalogueFaces.h"
#include "engine/CollectionSplit.h"
#include "sfnt/NameReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.otc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    readCollectionFullNames(path);
    readCollectionFaces(path);

    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    SplitReport report;
    splitCollection(path, out, &report);
    QStringList written;
    for (const SplitMember &member : report.members) {
        if (member.status == SplitMember::Written)
            written.append(member.path);
    }

    const QStringList beside = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (beside != QStringList({QStringLiteral("input.otc"), QStringLiteral("out")})) {
        std::fprintf(stderr, "the split wrote outside its folder: %s\n", qPrintable(beside.join(", ")));
        std::abort();
    }
    const QStringList inside = QDir(out).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : inside) {
        if (name.startsWith(QLatin1Char('.')) || !written.contains(out + QLatin1Char('/') + name)) {
            std::fprintf(stderr, "unexpected file left by the split: %s\n", qPrintable(name));
            std::abort();
        }
    }
    QDir(out).removeRecursively();
    return 0;
}
