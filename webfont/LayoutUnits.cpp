#include "LayoutUnits.h"

#include "ScriptExtensions.h"
#include "ScriptRules.h"
#include "UnicodeBlocks.h"
#include "platform/HarfBuzzHandles.h"
#include "platform/SubsetFace.h"
#include "sfnt/LayoutLookups.h"
#include "sfnt/ReadingBudget.h"

#include <hb-ot.h>

#include <QChar>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <memory>

namespace {

constexpr quint32 kDottedCircle = 0x25CC;
constexpr quint16 kLigatureSubst = 4;

using SetPtr = std::unique_ptr<hb_set_t, HbDeleter<hb_set_t, hb_set_destroy>>;

bool maps(const KeepList &codePoints, quint32 codePoint)
{
    return std::binary_search(codePoints.cbegin(), codePoints.cend(), codePoint);
}

QChar::Script scriptOf(quint32 codePoint)
{
    return QChar::script(char32_t(codePoint));
}

void appendScriptUnits(const KeepList &codePoints, QVector<KeepList> *units)
{
    QMap<int, KeepList> byScript; // in script order, so units do not depend on hashing
    QMap<int, QSet<quint32>> blocks;
    for (quint32 codePoint : codePoints) {
        const QChar::Script script = scriptOf(codePoint);
        if (scriptSlicing(script) == ScriptSlicing::Whole) {
            byScript[script].append(codePoint);
            blocks[script].insert(unicodeBlockStart(codePoint));
        }
    }
    QHash<quint32, int> blockScript; // a block -> the whole script whose characters are in it
    for (auto it = blocks.cbegin(); it != blocks.cend(); ++it) {
        for (quint32 block : it.value())
            blockScript.insert(block, it.key());
    }
    for (quint32 codePoint : codePoints) {
        const QChar::Script script = scriptOf(codePoint);
        if (script != QChar::Script_Common && script != QChar::Script_Inherited)
            continue;
        // The one whole script of the font that Unicode says uses it (a
        // Vedic sign with Devanagari, a danda with Bengali), else the
        // script of its block.
        int user = -1;
        for (QChar::Script extension : scriptExtensions(codePoint)) {
            if (blocks.contains(extension))
                user = user == -1 ? int(extension) : -2;
        }
        const auto shared = blockScript.constFind(unicodeBlockStart(codePoint));
        if (user >= 0)
            byScript[user].append(codePoint);
        else if (shared != blockScript.cend())
            byScript[shared.value()].append(codePoint);
    }
    quint32 lowest = 0xFFFFFFFF;
    int first = -1;
    for (auto it = byScript.begin(); it != byScript.end(); ++it) {
        it.value() = sortedKeepList(it.value());
        if (it.value().first() < lowest) {
            lowest = it.value().first();
            first = it.key();
        }
    }
    if (first >= 0 && maps(codePoints, kDottedCircle))
        byScript[first] = sortedKeepList(byScript[first] + KeepList{kDottedCircle});
    for (const KeepList &unit : byScript)
        units->append(unit);
}

void appendLookupUnits(hb_face_t *face, hb_tag_t tableTag, const QHash<quint32, KeepList> &characters, int largest,
                       QVector<KeepList> *units)
{
    const HbBlobPtr table(hb_face_reference_table(face, tableTag));
    unsigned length = 0;
    const char *data = hb_blob_get_data(table.get(), &length);
    const bool isGpos = tableTag == HB_OT_TAG_GPOS;
    const QVector<quint16> types = layoutLookupTypes(ByteView(data, length), isGpos);
    // What the lookups' glyphs may add up to, as any reading of the table.
    ReadingBudget budget(length);
    for (int lookup = 0; lookup < types.size(); ++lookup) {
        // Ligatures are kept whole one by one, as sequences (WebFace.h).
        if (!lookupJoinsGlyphs(types.at(lookup), isGpos) || (!isGpos && types.at(lookup) == kLigatureSubst))
            continue;
        const SetPtr before(hb_set_create()), input(hb_set_create()), after(hb_set_create()), output(hb_set_create());
        hb_ot_layout_lookup_collect_glyphs(face, tableTag, unsigned(lookup), before.get(), input.get(), after.get(),
                                           output.get());
        // The glyphs a lookup makes are not what it joins (a ligature
        // lookup's outputs would join every ligature of the font).
        for (hb_set_t *set : {before.get(), after.get()})
            hb_set_union(input.get(), set);
        if (!budget.spend(hb_set_get_population(input.get())))
            return;
        KeepList unit;
        for (hb_codepoint_t glyph = HB_SET_VALUE_INVALID; hb_set_next(input.get(), &glyph);) {
            unit += characters.value(glyph);
            if (unit.size() > largest)
                break;
        }
        if (unit.size() >= 2 && unit.size() <= largest)
            units->append(sortedKeepList(unit));
    }
}

// A legacy kern table's subtables, each like a pair lookup, when the shaper
// applies them.
void appendLegacyKernUnits(hb_face_t *face, const QHash<quint32, KeepList> &characters, int largest,
                           QVector<KeepList> *units)
{
    for (const KernSubtable &subtable : shapedLegacyKern(face)) {
        QSet<quint16> glyphs;
        for (const KernPair &pair : subtable.pairs)
            glyphs << pair.left << pair.right;
        KeepList unit;
        for (quint16 glyph : glyphs) {
            unit += characters.value(glyph);
            if (unit.size() > largest)
                break;
        }
        if (unit.size() >= 2 && unit.size() <= largest)
            units->append(sortedKeepList(unit));
    }
}

} // namespace

QVector<KeepList> layoutUnits(hb_face_t *face, const KeepList &codePoints, const QHash<quint32, KeepList> &characters,
                              int largestUnit)
{
    QVector<KeepList> units;
    appendScriptUnits(codePoints, &units);
    const int largest = std::min(largestUnit, int(codePoints.size() / 2));
    appendLookupUnits(face, HB_OT_TAG_GSUB, characters, largest, &units);
    appendLookupUnits(face, HB_OT_TAG_GPOS, characters, largest, &units);
    appendLegacyKernUnits(face, characters, largest, &units);
    return units;
}
