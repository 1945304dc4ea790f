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

// Code points from the last bytes, three at a time, reaching beyond U+FFFF.
KeepList keepListFrom(const uint8_t *data, size_t size)
{
    KeepList codePoints;
    const size_t count = size ? data[0] % 48 : 0;
    for (size_t i = 0; i < count && 3 * i + 3 < size; ++i) {
        const uint8_t *at = data + size - 3 * i - 3;
        codePoints.append(quint32(at[0] & 0x1F) << 16 | quint32(at[1]) << 8 | at[2]);
    }
    return codePoints;
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
    engine.holdsSfntFont();
    engine.holdsCffFont();
    engine.keepList = keepListFrom(data, size);
    engine.coversAnyKeepUnit();

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.otf"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(engine.fontBytes);
        file.close();
        FontSubsetter::readFileFamilyName(path);
        readFontFileFace(path);
    }
    return 0;
}
