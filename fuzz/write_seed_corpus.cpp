// Writes the fuzzers' seed corpus: the hostile inputs, fonts and collections
// the tests build, and small real fonts cut from the Debian fonts.
//   write_seed_corpus DIR   (writes DIR/font and DIR/collection)

#include "support/FontBuilder.h"
#include "support/HostileInputs.h"

#include "engine/FontSubsetter.h"
#include "engine/KeepList.h"
#include "engine/CollectionSplit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A real font cut down to a few characters by the engine itself.
QByteArray smallRealFont(const QString &path, const QString &text)
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    engine.loadTrueTypeFile(path);
    engine.keepList = keepListFromText(text);
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("small.ttf"));
    if (!engine.writeSubset(output))
        return {};
    return FontBuilder::readFile(output);
}

// The same for a member of a collection, split out first.
QByteArray smallRealMember(const QString &collection, const QString &fileName, const QString &text)
{
    QTemporaryDir dir;
    splitCollection(collection, dir.path());
    return smallRealFont(dir.filePath(fileName), text);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seed_corpus DIR\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder + "/font");
    QDir().mkpath(folder + "/collection");
    QDir().mkpath(folder + "/gsub");
    int written = 0;
    const auto write = [&](const QString &kind, const QString &name, const QByteArray &bytes) {
        if (!FontBuilder::writeFile(folder + '/' + kind + '/' + name, bytes).isEmpty())
            ++written;
    };

    for (const HostileInputs::Font &font : HostileInputs::fonts())
        write("font", font.name, font.bytes);
    for (const HostileInputs::Collection &collection : HostileInputs::collections())
        write("collection", collection.name, collection.bytes);
    // GSUB tables whose offsets repeat: alone, for the layout readers, and in
    // a font, for the kit's face reading.
    for (const HostileInputs::LayoutTable &table : HostileInputs::layoutTables()) {
        write("gsub", table.name, table.gsub);
        write("font", table.name + ".ttf", FontBuilder::trueTypeFont("Hostile", 0, 400, {}, {}, {{"GSUB", table.gsub}}));
    }

    write("font", "built-named", FontBuilder::namedFont("Seed"));
    write("font", "built-truetype", FontBuilder::trueTypeFont("Seed", 1, 700));
    const QByteArray dejavu = smallRealFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "Hag");
    const QByteArray droid = smallRealFont("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf", "字体");
    if (!dejavu.isEmpty())
        write("font", "dejavu-small", dejavu);
    if (!droid.isEmpty())
        write("font", "droid-small", droid);
    // Kerning only in a legacy kern table, which subsets carry themselves.
    const QByteArray nanum = smallRealFont("/usr/share/fonts/truetype/nanum/NanumGothicEcoR.ttf", "AVTo.");
    if (!nanum.isEmpty())
        write("font", "nanum-eco-kern-small", nanum);
    // A kern table that claims 65,535 subtables: one of a format it is not
    // read in, of length 1, then one of 65,535 pairs that the table ends
    // after two of.
    using FontBuilder::u16;
    const QByteArray claims = u16(0) + u16(0xFFFF) + u16(0) + u16(1) + u16(0x0201) + QByteArray(1, 0) + u16(0)
            + u16(14) + u16(0x0001) + u16(0xFFFF) + u16(0) + u16(0) + u16(0) + u16(1) + u16(1) + u16(0xFFCE)
            + u16(1) + u16(0) + u16(20);
    write("font", "kern-claims-more", FontBuilder::trueTypeFont("Kern", 0, 400, {}, {}, {{"kern", claims}}));
    if (!dejavu.isEmpty() && !droid.isEmpty())
        write("collection", "real-small", FontBuilder::collection({dejavu, droid}));

    // CFF outlines, and a collection that mixes them with TrueType ones.
    const QByteArray sans = smallRealMember("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                                            "Noto Sans CJK SC.otf", "字体𠮷");
    const QByteArray serif = smallRealMember("/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc",
                                             "Noto Serif CJK SC.otf", "字体");
    if (!sans.isEmpty())
        write("font", "noto-sans-cjk-small", sans);
    if (!serif.isEmpty())
        write("font", "noto-serif-cjk-small", serif);
    if (!sans.isEmpty() && !serif.isEmpty() && !dejavu.isEmpty())
        write("collection", "cff-and-truetype-small", FontBuilder::collection({sans, serif, dejavu}));

    std::printf("wrote %d seeds into %s\n", written, qPrintable(folder));
    return 0;
}
