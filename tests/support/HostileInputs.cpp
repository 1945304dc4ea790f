#include "HostileInputs.h"

#include "FontBuilder.h"

namespace HostileInputs {

using namespace FontBuilder;

namespace {

quint32 readU32(const QByteArray &bytes, int at)
{
    return quint32(uchar(bytes[at])) << 24 | quint32(uchar(bytes[at + 1])) << 16
            | quint32(uchar(bytes[at + 2])) << 8 | quint32(uchar(bytes[at + 3]));
}

// A member's records start at 12 + memberOffset; a one-member collection's
// member sits right after the 16-byte header.
constexpr int kOnlyMember = 16;

} // namespace

QList<Collection> collections()
{
    const QByteArray alpha = namedFont("Alpha"), beta = namedFont("Beta"), gamma = namedFont("Gamma");
    QList<Collection> cases;

    QByteArray hugeCount = collection({alpha});
    putU32(&hugeCount, 8, 0xFFFFFFFF); // and the offsets are missing
    cases.append({"ttc-numfonts-ffffffff", hugeCount, {}, false, {}});

    QByteArray memberPastEnd = collection({alpha, beta});
    putU32(&memberPastEnd, 16, 0xFFFFFFFB);
    cases.append({"ttc-member-offset-fffffffb", memberPastEnd, {}, false, {"Alpha.ttf"}});

    QByteArray tableWraps = collection({alpha}); // record 0, OS/2: offset + length wraps in 32 bits
    putU32(&tableWraps, kOnlyMember + 12 + 8, 0xFFFFFFFF);
    putU32(&tableWraps, kOnlyMember + 12 + 12, 2);
    cases.append({"ttc-table-offset-wraps", tableWraps, {"Alpha Full"}, false, {}});

    QByteArray manyTables = collection({alpha});
    putU16(&manyTables, kOnlyMember + 4, 0xFFFF);
    cases.append({"ttc-numtables-ffff", manyTables, {}, false, {}});

    // 0.2 MB whose 500 member offsets all point at one font: one file, not 500.
    QList<QByteArray> fiveHundred(500, alpha);
    QByteArray fiveHundredAtOne = collection(fiveHundred);
    for (int i = 1; i < 500; ++i)
        putU32(&fiveHundredAtOne, 12 + 4 * i, readU32(fiveHundredAtOne, 12));
    cases.append({"ttc-500-members-one-offset", fiveHundredAtOne, QStringList(500, "Alpha Full"), true, {"Alpha.ttf"}});

    // Every record spans the whole file: far more bytes than the file holds.
    QByteArray overlapping = collection({alpha});
    for (int k = 0; k < 5; ++k) {
        putU32(&overlapping, kOnlyMember + 12 + 16 * k + 8, 0);
        putU32(&overlapping, kOnlyMember + 12 + 16 * k + 12, quint32(overlapping.size()));
    }
    cases.append({"ttc-tables-overlap", overlapping, {}, false, {}});

    cases.append({"ttc-shared-family", collection({namedFont("Same", 0), namedFont("Same", 1, 700)}),
                  {"Same Full", "Same Full"}, true, {"Same Full.ttf", "Same.ttf"}});

    // Found by fuzzing: a lone surrogate cannot be encoded in a file name,
    // and a leading dot would hide the file.
    const QStringList families = {"../x", "/x", "..", ".", "a\\b", QString("Nul") + QChar(0) + "Tail",
                                  QString(511, 'n'), QString(512, 'm'), QString(),
                                  QString("Lone") + QChar(0xD800), "...Hidden"};
    QList<QByteArray> members;
    QStringList fullNames;
    for (const QString &family : families) {
        members.append(namedFont(family));
        const QString full = (family + " Full").section(QChar(0), 0, 0);
        fullNames.append(full.left(511));
    }
    // Only "Nul" can be a file here, and the empty family is named after the
    // collection; the long names are too long for one.
    cases.append({"ttc-hostile-family-names", collection(members), fullNames, true,
                  {"Nul.ttf", "ttc-hostile-family-names 8.ttf"}});

    // Found by fuzzing: members whose every name is control or format
    // characters are named after the collection and their index.
    const QString unprintable = QString("\x01\n") + QChar(0x202E);
    const QByteArray unnamed = font({{"OS/2", os2Table(400)},
                                     {"cmap", cmapFormat4({{3, 1}}, {{0x41, 0x5A}, {0xFFFF, 0xFFFF}})},
                                     {"head", headTable()},
                                     {"name", nameTable({{3, 1, 0x0409, 1, unprintable}, {3, 1, 0x0409, 2, "\x1B"},
                                                         {3, 1, 0x0409, 4, unprintable + "\x7F"}})},
                                     {"post", QByteArray(32, '\0')}});
    cases.append({"ttc-names-control-characters", collection({unnamed, unnamed}),
                  {unprintable + "\x7F", unprintable + "\x7F"}, true,
                  {"ttc-names-control-characters 0.ttf", "ttc-names-control-characters 1.ttf"}});

    cases.append({"ttc-version-2", collection({alpha, beta}, 0x00020000), {"Alpha Full", "Beta Full"}, true,
                  {"Alpha.ttf", "Beta.ttf"}});
    const QByteArray cff = font({{"name", familyNameTable("CFF")}}, 0x4F54544F);
    cases.append({"ttc-third-member-cff", collection({alpha, beta, cff}), {"Alpha Full", "Beta Full", ""}, true,
                  {"Alpha.ttf", "Beta.ttf", "CFF.otf"}});
    const QByteArray unknown = font({{"name", familyNameTable("Unknown")}}, 0x12345678);
    cases.append({"ttc-third-member-unknown-outlines", collection({alpha, beta, unknown}), {}, false,
                  {"Alpha.ttf", "Beta.ttf"}});
    cases.append({"ttc-name-count-zero", collection({alpha, font({{"name", nameTable({})}}), gamma}), {}, true,
                  {"Alpha.ttf", "Gamma.ttf", "ttc-name-count-zero 1.ttf"}});
    cases.append({"ttc-no-members", collection({}), {}, false, {}}); // a split that writes nothing fails
    cases.append({"ttc-header-only", QByteArray("ttcf"), {}, false, {}});
    cases.append({"ttc-good", collection({alpha, beta, gamma}), {"Alpha Full", "Beta Full", "Gamma Full"}, true,
                  {"Alpha.ttf", "Beta.ttf", "Gamma.ttf"}});
    return cases;
}

QList<Font> fonts()
{
    const QByteArray good = namedFont("Good");
    QList<Font> cases;
    cases.append({"ttf-good", good, "Good", true, true});

    // namedFont's records: OS/2, cmap, head, name, post.
    const int cmapRecord = 12 + 16, nameRecord = 12 + 16 * 3;
    const int cmapAt = int(readU32(good, cmapRecord + 8)), nameAt = int(readU32(good, nameRecord + 8));

    QByteArray nameWraps = good;
    putU32(&nameWraps, nameRecord + 8, 0xFFFFFFFF);
    putU32(&nameWraps, nameRecord + 12, 2);
    cases.append({"ttf-table-offset-wraps", nameWraps, "", false, true});

    QByteArray manyTables = good.left(12);
    putU16(&manyTables, 4, 0xFFFF);
    cases.append({"ttf-numtables-ffff-12-bytes", manyTables, "", false, false});

    QByteArray oddSegCount = good; // cmap: 4-byte header, one record, then the subtable
    putU16(&oddSegCount, cmapAt + 12 + 6, 5);
    cases.append({"ttf-odd-segcountx2", oddSegCount, "Good", true, true});

    QByteArray subtablePastEnd = good;
    putU32(&subtablePastEnd, cmapAt + 8, 0xFFFFFFF0);
    cases.append({"ttf-cmap-subtable-past-end", subtablePastEnd, "Good", true, false});

    QByteArray segmentsPastEnd = good;
    putU16(&segmentsPastEnd, cmapAt + 12 + 6, 0xFFFE);
    cases.append({"ttf-cmap-segments-past-end", segmentsPastEnd, "Good", true, false});

    QByteArray nameCount = good;
    putU16(&nameCount, nameAt + 2, 0xFFFF);
    cases.append({"ttf-name-count-beyond-table", nameCount, "", true, true});

    QByteArray stringPastStorage = good;
    putU16(&stringPastStorage, nameAt + 6 + 10, 0xFFF0); // record 0, the family name
    cases.append({"ttf-name-string-past-storage", stringPastStorage, "", true, true});

    cases.append({"ttf-name-511-units", namedFont(QString(511, 'n')), QString(511, 'n'), true, true});
    cases.append({"ttf-name-512-units", namedFont(QString(512, 'n')), QString(511, 'n'), true, true});
    cases.append({"ttf-name-with-nul", namedFont(QString("Nul") + QChar(0) + "Tail"), "Nul", true, true});
    cases.append({"ttf-truncated", good.left(good.size() / 2), "", false, false}); // cmap and name cut off
    cases.append({"otf-cff-version", font({{"name", familyNameTable("CFF")}}, 0x4F54544F), "CFF", true, false});
    cases.append({"ttf-collection-header", collection({good}), "", false, false});
    cases.append({"ttf-empty", QByteArray(), "", false, false});
    return cases;
}

} // namespace HostileInputs

namespace HostileInputs {

namespace {

// A GSUB of the given script list and lookups, with a feature list of
// `loclFeatures` 'locl' features (none points at a lookup).
QByteArray gsubTable(const QByteArray &scriptList, int loclFeatures, const QByteArray &lookupList)
{
    QByteArray featureList = u16(quint16(loclFeatures));
    for (int f = 0; f < loclFeatures; ++f)
        featureList += QByteArray("locl") + u16(quint16(2 + 6 * loclFeatures));
    featureList += u16(0) + u16(0); // the one Feature table they share: no lookups
    const int scriptAt = 10, featureAt = scriptAt + int(scriptList.size());
    const int lookupAt = featureAt + int(featureList.size());
    return u16(1) + u16(0) + u16(quint16(scriptAt)) + u16(quint16(featureAt)) + u16(quint16(lookupAt)) + scriptList
            + featureList + lookupList;
}

// A lookup list of `lookups` records all pointing at one lookup of `type`,
// whose `subtables` records all point at the one subtable given.
QByteArray sharedLookupList(int lookups, quint16 type, int subtables, const QByteArray &subtable)
{
    QByteArray list = u16(quint16(lookups));
    const int lookupAt = 2 + 2 * lookups;
    for (int i = 0; i < lookups; ++i)
        list += u16(quint16(lookupAt));
    list += u16(type) + u16(0) + u16(quint16(subtables));
    for (int i = 0; i < subtables; ++i)
        list += u16(quint16(6 + 2 * subtables));
    return list + subtable;
}

// A LigatureSubst whose `sets` ligature sets (the first glyphs 0 to sets-1)
// all point at one set of `perSet` records, which all point at one ligature
// of `components` components.
QByteArray sharedLigatureSubst(int sets, int perSet, int components)
{
    const int coverageAt = 6 + 2 * sets, setAt = coverageAt + 10;
    // Set offsets count from the subtable, ligature offsets from the set.
    QByteArray subtable = u16(1) + u16(quint16(coverageAt)) + u16(quint16(sets));
    for (int i = 0; i < sets; ++i)
        subtable += u16(quint16(setAt));
    subtable += u16(2) + u16(1) + u16(0) + u16(quint16(qMax(0, sets - 1))) + u16(0); // coverage: one range
    QByteArray set = u16(quint16(perSet));
    for (int i = 0; i < perSet; ++i)
        set += u16(quint16(2 + 2 * perSet));
    QByteArray ligature = u16(1) + u16(quint16(components));
    for (int c = 1; c < components; ++c)
        ligature += u16(1);
    return subtable + set + ligature;
}

// A script list of `scripts` records all pointing at one script whose
// default language system and `languages` "ZHS " records all point at one
// language system listing `features` feature indices, all 0.
QByteArray sharedScriptList(int scripts, int languages, int features)
{
    QByteArray list = u16(quint16(scripts));
    const int scriptAt = 2 + 6 * scripts;
    for (int i = 0; i < scripts; ++i)
        list += QByteArray("hani") + u16(quint16(scriptAt));
    const int langSysAt = 4 + 6 * languages;
    QByteArray script = u16(quint16(langSysAt)) + u16(quint16(languages));
    for (int i = 0; i < languages; ++i)
        script += QByteArray("ZHS ") + u16(quint16(langSysAt));
    QByteArray langSys = u16(0) + u16(0xFFFF) + u16(quint16(features));
    for (int i = 0; i < features; ++i)
        langSys += u16(0);
    return list + script + langSys;
}

} // namespace

QList<LayoutTable> layoutTables()
{
    const QByteArray noScripts = u16(0), noLookups = u16(0);
    // A LigatureSubst of no sets whose coverage names every glyph.
    const QByteArray everyGlyph = u16(1) + u16(6) + u16(0) + u16(2) + u16(1) + u16(0) + u16(0xFFFF) + u16(0);
    QList<LayoutTable> cases;
    cases.append({"gsub-2000-lookups-of-2000-subtables-at-one", gsubTable(noScripts, 0, sharedLookupList(2000, 4, 2000, everyGlyph)),
                  0, true, {}, 0});
    cases.append({"gsub-ligature-of-4000-components", gsubTable(noScripts, 0, sharedLookupList(1, 4, 1, sharedLigatureSubst(1000, 10, 4000))),
                  0, true, {}, 0});
    cases.append({"gsub-1000-sets-of-1000-ligatures-at-one", gsubTable(noScripts, 0, sharedLookupList(1, 4, 1, sharedLigatureSubst(1000, 1000, 64))),
                  -1, false, {}, 0});
    cases.append({"gsub-1000-scripts-of-1000-languages-at-one", gsubTable(sharedScriptList(1000, 1000, 1000), 2, noLookups),
                  0, true, "ZHS ", 1});
    cases.append({"gsub-extension-lookups-at-one-ligature",
                  gsubTable(noScripts, 0, sharedLookupList(100, 7, 100, u16(1) + u16(4) + u32(8) + sharedLigatureSubst(1, 1, 3))),
                  1, true, {}, 0});
    return cases;
}

} // namespace HostileInputs
