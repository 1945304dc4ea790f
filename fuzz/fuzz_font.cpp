// Fuzz target: the bytes as a loaded font. Every table lookup, the family
// name, the coverage test with a keep list taken from the input, and the file
// readers on the bytes written to a temporary .ttf.

#include "catalogue/CatalogueFaces.h"
#include "engine/FontSubsetter.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

volatile uchar sink;

void touch(ByteView view)
{
    if (!view.isNull())
        sink = view.data()[0] ^ view.data()[view.size() - 1];
}

QVector<quint16> keepListFrom(const uint8_t *data, size_t size)
{
    QVector<quint16> units;
    const size_t count = size ? data[0] % 48 : 0;
    for (size_t i = 0; i < count && 2 * i + 2 < size; ++i)
        units.append(quint16(data[size - 2 * i - 1] << 8 | data[size - 2 * i - 2]));
    return units;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    engine.fontBytes = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    engine.fontData = engine.fontBytes.isEmpty() ? nullptr : reinterpret_cast<const uchar *>(engine.fontBytes.constData());

    for (int index = 0; index < 256; ++index)
        touch(engine.findTable(quint8(index)));
    engine.readFamilyName();
    engine.holdsTrueTypeFont();
    engine.keepList = keepListFrom(data, size);
    engine.coversAnyKeepUnit();

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.ttf"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(engine.fontBytes);
        file.close();
        FontSubsetter::readFileFamilyName(path);
        readFontFileFace(path);
    }
    return 0;
}
