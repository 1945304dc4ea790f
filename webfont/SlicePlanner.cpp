#include "SlicePlanner.h"

#include "CoreSlices.h"

#include "ScriptRules.h"
#include "UnicodeBlocks.h"
#include "UseGroups.h"

#include <QChar>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <iterator>
#include <tuple>

namespace {

struct Range
{
    quint32 first, last;
};

// Characters that kern with each other, form ligatures or contextual forms
// together, or take part in CJK punctuation spacing, must be drawn from one
// slice: a browser shapes a run with one slice's font at a time. Tried in
// chromium against the whole font, pixel for pixel: Latin kerning ("Ŧo")
// needs the Latin letters with ASCII, text-spacing-trim the quotes
// (U+2018–201D) with the CJK punctuation, and Japanese kerning the kana
// with it ("す。"); keycaps need U+20E3 with the digits.
const Range kFirstSliceRanges[] = {
    {0x0000, 0x024F}, // ASCII, Latin-1, Latin Extended-A and -B
    {0x0300, 0x036F}, // the combining marks Latin text is typed with (NFD)
    {0x1E00, 0x1EFF}, // Latin Extended Additional: Vietnamese, composed from ASCII when typed NFD
    {0x2000, 0x206F}, // general punctuation (spaces, dashes, quotes, joiners)
    {0x20A0, 0x20EF}, // currency signs, combining marks for symbols (the keycap)
    {0x3000, 0x30FF}, // CJK symbols and punctuation, hiragana, katakana
    {0x31F0, 0x31FF}, // katakana phonetic extensions
    {0xFE00, 0xFE1F}, // variation selectors, vertical forms
    {0xFE30, 0xFE4F}, // CJK compatibility forms
    {0xFF00, 0xFFEF}, // half-width and full-width forms
};

// The scripts a reader calls CJK: a kit is told as cut by frequency slices
// only when the lists placed characters of these (the lists also hold
// symbols of the Common script, such as the circled ideographs ㊗ and ㊙ of
// emoji fonts).
const QChar::Script kCjkScripts[] = {
    QChar::Script_Han, QChar::Script_Hiragana, QChar::Script_Katakana, QChar::Script_Hangul, QChar::Script_Bopomofo,
};

bool isCjkCodePoint(quint32 codePoint)
{
    return std::find(std::begin(kCjkScripts), std::end(kCjkScripts), QChar::script(char32_t(codePoint)))
            != std::end(kCjkScripts);
}

bool inRanges(quint32 codePoint, const Range *begin, const Range *end)
{
    return std::any_of(begin, end, [codePoint](const Range &range) {
        return codePoint >= range.first && codePoint <= range.last;
    });
}

KeepList merged(const KeepList &a, const KeepList &b)
{
    KeepList both;
    both.reserve(a.size() + b.size());
    std::merge(a.cbegin(), a.cend(), b.cbegin(), b.cend(), std::back_inserter(both));
    return both;
}

// The part size a list's slice is cut to (0: kept whole), by its place in
// the lists, the first being 0.
int listPartSize(qsizetype list)
{
    if (list < kWholeListSlices)
        return 0;
    return list < kFrequentListSlices ? kFrequentPartSize : kRarePartSize;
}

// Cuts a list's slice into the nearest whole number (at least one) of even
// parts of about the size: a part is under three quarters of the size only
// when the slice itself is.
QVector<KeepList> cutEvenly(const KeepList &slice, int partSize)
{
    const qsizetype count = slice.size();
    const qsizetype pieces = partSize > 0 ? std::max<qsizetype>(1, (2 * count + partSize) / (2 * partSize)) : 1;
    QVector<KeepList> parts;
    for (qsizetype piece = 0; piece < pieces; ++piece) {
        const qsizetype from = count * piece / pieces, to = count * (piece + 1) / pieces;
        parts.append(slice.mid(from, to - from));
    }
    return parts;
}

// The code points left after the first slice and the lists, grouped by
// block: a block is cut into even parts of at most the target size, and
// parts of neighbouring blocks share a slice while they fit in one.
QVector<KeepList> sliceByBlock(const KeepList &rest, int targetSize)
{
    QVector<KeepList> parts;
    for (qsizetype start = 0; start < rest.size();) {
        const quint32 block = unicodeBlockStart(rest.at(start));
        qsizetype end = start;
        while (end < rest.size() && unicodeBlockStart(rest.at(end)) == block)
            ++end;
        const qsizetype count = end - start;
        const qsizetype pieces = (count + targetSize - 1) / targetSize;
        for (qsizetype piece = 0; piece < pieces; ++piece) {
            const qsizetype from = start + count * piece / pieces, to = start + count * (piece + 1) / pieces;
            parts.append(rest.mid(from, to - from));
        }
        start = end;
    }

    QVector<KeepList> slices;
    for (const KeepList &part : parts) {
        if (!slices.isEmpty() && slices.last().size() + part.size() <= targetSize)
            slices.last() += part;
        else
            slices.append(part);
    }
    return slices;
}

// A known text's characters past the first slice. Those the same files use
// start as one group (a page fetches only slices of characters it uses);
// groups are then merged where that saves the pages bytes (UseGroups.h), and
// ordered by how many files use them, most first. Inside a group the more
// frequent in the language come first, so that a page of other text, which
// needs a few of them, finds them in fewer parts.
QVector<KeepList> sliceByUse(const KeepList &rest, const QVector<KeepList> &texts, const QVector<KeepList> &lists)
{
    QHash<quint32, QVector<int>> users; // code point -> the files that use it, ascending
    for (int file = 0; file < texts.size(); ++file) {
        for (quint32 codePoint : texts.at(file))
            users[codePoint].append(file);
    }
    QMap<QVector<int>, KeepList> byFiles;
    for (quint32 codePoint : rest)
        byFiles[users.value(codePoint)].append(codePoint);
    QVector<UseGroup> groups;
    for (auto it = byFiles.cbegin(); it != byFiles.cend(); ++it)
        groups.append({it.key(), it.value()});
    const auto mostFilesFirst = [](const UseGroup &a, const UseGroup &b) {
        return a.files.size() != b.files.size() ? a.files.size() > b.files.size() : a.files < b.files;
    };
    std::stable_sort(groups.begin(), groups.end(), mostFilesFirst);
    groups = mergedForFewerBytes(groups, int(texts.size()), kTextPartSize);
    std::stable_sort(groups.begin(), groups.end(), mostFilesFirst);

    QHash<quint32, int> rank;
    for (int list = int(lists.size()) - 1; list >= 0; --list) {
        for (quint32 codePoint : lists.at(list))
            rank.insert(codePoint, list);
    }
    QVector<KeepList> slices;
    for (UseGroup &group : groups) {
        KeepList &order = group.codePoints;
        std::sort(order.begin(), order.end());
        std::stable_sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
            return rank.value(a, int(lists.size())) < rank.value(b, int(lists.size()));
        });
        const qsizetype pieces = (order.size() + kTextPartSize - 1) / kTextPartSize;
        for (qsizetype piece = 0; piece < pieces; ++piece) {
            const qsizetype from = order.size() * piece / pieces, to = order.size() * (piece + 1) / pieces;
            slices.append(sortedKeepList(order.mid(from, to - from)));
        }
    }
    return slices;
}

// The code points of `rest` each of the earlier slices held, each in the
// first slice that held it; the first slice too, for what it took in besides
// its rule's characters (a slice too small to stand alone). Nothing when the
// spans ask more work than an honest report's, each code point once: a
// damaged report costs no more than a plan made afresh.
QVector<KeepList> earlierSlicesIn(const KeepList &rest, const QVector<QVector<CodePointSpan>> &earlier)
{
    QSet<quint32> placed;
    qsizetype visited = 0;
    const qsizetype mostVisited = 2 * rest.size() + 4096;
    QVector<KeepList> slices;
    for (qsizetype index = 0; index < earlier.size(); ++index) {
        KeepList slice;
        for (const CodePointSpan &span : earlier.at(index)) {
            for (auto it = std::lower_bound(rest.cbegin(), rest.cend(), span.first);
                 it != rest.cend() && *it <= span.last; ++it) {
                if (++visited > mostVisited)
                    return {};
                if (!placed.contains(*it)) {
                    placed.insert(*it);
                    slice.append(*it);
                }
            }
        }
        if (!slice.isEmpty())
            slices.append(sortedKeepList(slice));
    }
    return slices;
}

// A known text's characters past the first slice, in the earlier kit's
// slices where they were, the new ones grouped by use after them.
QVector<KeepList> sliceKeepingEarlier(const KeepList &rest, const QVector<KeepList> &texts,
                                      const QVector<KeepList> &lists, const QVector<QVector<CodePointSpan>> &earlier)
{
    QVector<KeepList> kept;
    QSet<quint32> held;
    for (const KeepList &slice : earlierSlicesIn(rest, earlier)) {
        if (slice.size() > kTextPartSize)
            continue; // larger than a known text's slices are planned: its characters planned again
        kept.append(slice);
        held.unite(QSet<quint32>(slice.cbegin(), slice.cend()));
    }
    KeepList added;
    for (quint32 codePoint : rest) {
        if (!held.contains(codePoint))
            added.append(codePoint);
    }
    return kept + sliceByUse(added, texts, lists);
}

// Sets of indices joined two at a time, with union by rank and path
// halving: near-linear in the joins, however they chain.
class DisjointSets
{
public:
    int add()
    {
        m_parent.append(int(m_parent.size()));
        m_rank.append(0);
        return int(m_parent.size()) - 1;
    }
    int root(int i)
    {
        while (m_parent.at(i) != i) {
            m_parent[i] = m_parent.at(m_parent.at(i));
            i = m_parent.at(i);
        }
        return i;
    }
    void join(int a, int b)
    {
        a = root(a);
        b = root(b);
        if (a == b)
            return;
        if (m_rank.at(a) < m_rank.at(b))
            std::swap(a, b);
        m_parent[b] = a;
        if (m_rank.at(a) == m_rank.at(b))
            ++m_rank[a];
    }

private:
    QVector<int> m_parent;
    QVector<int> m_rank;
};

} // namespace

bool isEmojiSequence(const KeepList &sequence)
{
    // A joiner in the text of a script that is shaped (a ZWJ in a Devanagari
    // conjunct) joins no emoji: that ligature goes with its script.
    return std::any_of(sequence.cbegin(), sequence.cend(), isEmojiJoiner)
            && std::none_of(sequence.cbegin(), sequence.cend(), [](quint32 codePoint) {
                   return scriptSlicing(QChar::script(char32_t(codePoint))) == ScriptSlicing::Whole;
               });
}

bool isEmojiJoiner(quint32 codePoint)
{
    return codePoint == 0x200D || (codePoint >= 0x1F3FB && codePoint <= 0x1F3FF)
            || (codePoint >= 0x1F1E6 && codePoint <= 0x1F1FF) || isEmojiTag(codePoint);
}

bool isEmojiTag(quint32 codePoint)
{
    return codePoint >= 0xE0020 && codePoint <= 0xE007F;
}

bool isFirstSliceCodePoint(quint32 codePoint)
{
    return inRanges(codePoint, std::begin(kFirstSliceRanges), std::end(kFirstSliceRanges));
}

bool listsPlaceCjk(const SlicePlanInput &input)
{
    return std::any_of(input.codePoints.cbegin(), input.codePoints.cend(), [&](quint32 codePoint) {
        return !isFirstSliceCodePoint(codePoint) && isCjkCodePoint(codePoint)
                && std::any_of(input.frequencySlices.cbegin(), input.frequencySlices.cend(), [&](const KeepList &list) {
                       return std::binary_search(list.cbegin(), list.cend(), codePoint);
                   });
    });
}

QVector<KeepList> planSlices(const SlicePlanInput &input)
{
    const KeepList &all = input.codePoints;
    // Whether each code point of `all`, by its index, is in a slice yet.
    QVector<bool> placed(all.size(), false);
    QVector<KeepList> slices;
    const auto take = [&](const KeepList &list, bool includeFirstRule, int partSize) {
        const KeepList wanted = sortedKeepList(list);
        KeepList slice;
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (placed.at(i))
                continue;
            const quint32 codePoint = all.at(i);
            if ((includeFirstRule && isFirstSliceCodePoint(codePoint))
                || std::binary_search(wanted.cbegin(), wanted.cend(), codePoint)) {
                placed[i] = true;
                slice.append(codePoint);
            }
        }
        if (!slice.isEmpty())
            slices += cutEvenly(slice, partSize);
    };

    const bool byUse = !input.texts.isEmpty();
    take(byUse ? KeepList() : input.frequencySlices.value(0), true, 0);
    for (qsizetype list = 1; !byUse && list < input.frequencySlices.size(); ++list)
        take(input.frequencySlices.at(list), false, listPartSize(list));
    KeepList rest;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (!placed.at(i))
            rest.append(all.at(i));
    }
    if (!byUse)
        slices += sliceByBlock(rest, input.targetSize);
    else if (input.earlierSlices.isEmpty())
        slices += sliceByUse(rest, input.texts, input.frequencySlices);
    else
        slices += sliceKeepingEarlier(rest, input.texts, input.frequencySlices, input.earlierSlices);

    // A slice too small, or with nothing to draw, joins the slice before it
    // (the first one takes the slice after it in), until none is left. The
    // sizes of a known text's slices past the first were weighed already.
    const auto unfit = [&](qsizetype index) {
        const KeepList &slice = slices.at(index);
        return (slice.size() < kSliceMinimumSize && (!byUse || index == 0))
                || std::all_of(slice.cbegin(), slice.cend(), [&](quint32 codePoint) { return input.blank.contains(codePoint); });
    };
    for (qsizetype i = 0; i < slices.size() && slices.size() > 1;) {
        if (!unfit(i)) {
            ++i;
        } else if (i == 0) {
            slices[0] = merged(slices.at(0), slices.at(1));
            slices.remove(1);
        } else {
            slices[i - 1] = merged(slices.at(i - 1), slices.at(i));
            slices.remove(i);
            --i;
        }
    }
    return slices;
}

int slicesOfGlyphs(quint64 fontBytes, unsigned glyphCount, qsizetype sliceBytes)
{
    // Aim at four fifths of the limit; WOFF2 hardly shrinks the PNGs of a
    // colour font, so the raw bytes are the measure.
    const quint64 perGlyph = glyphCount > 0 ? std::max<quint64>(1, fontBytes / glyphCount) : 1;
    return int(qBound<quint64>(8, quint64(sliceBytes) * 4 / 5 / perGlyph, kSliceTargetSize));
}

QVector<PlannedSlice> keepSequencesWhole(const QVector<KeepList> &slices, const QVector<KeepList> &sequences,
                                         const QVector<KeepList> &units, int sequencesPerSlice, int largestUnit)
{
    // A tag sequence's base (the black flag of England's flag) is drawn from
    // the last-declared slice that holds it, and its tags do not fall back
    // with it to another slice: the base, and every sequence that holds it
    // (a font may list a ligature's glyphs in either order), stay in one
    // unit.
    QSet<quint32> tagBases;
    for (const KeepList &sequence : sequences) {
        if (std::none_of(sequence.cbegin(), sequence.cend(), isEmojiTag))
            continue;
        const auto base = std::find_if_not(sequence.cbegin(), sequence.cend(), isEmojiJoiner);
        if (base != sequence.cend())
            tagBases.insert(*base);
    }

    QHash<quint32, QPair<int, int>> home; // code point -> its slice, and its unit there
    QPair<int, int> firstRuleUnit{-1, -1};
    QVector<PlannedSlice> planned;
    for (const KeepList &slice : slices) {
        PlannedSlice plannedSlice;
        plannedSlice.codePoints = slice;
        KeepList firstRule;
        for (quint32 codePoint : slice) {
            if (planned.isEmpty() && isFirstSliceCodePoint(codePoint)) {
                firstRule.append(codePoint);
                continue;
            }
            home.insert(codePoint, {int(planned.size()), int(plannedSlice.units.size())});
            plannedSlice.units.append(KeepList{codePoint});
        }
        if (!firstRule.isEmpty()) {
            firstRuleUnit = {0, int(plannedSlice.units.size())};
            for (quint32 codePoint : firstRule)
                home.insert(codePoint, firstRuleUnit);
            plannedSlice.units.append(firstRule);
        }
        planned.append(plannedSlice);
    }

    // Characters the font joins into one glyph, or shapes together, move
    // together (see the header for where). Moved, not repeated: a character
    // repeated in a later slice would be drawn from it everywhere (a browser
    // takes a character from the last-declared slice that holds it), apart
    // from the neighbours it kerns with.
    QVector<KeepList> joined;
    QHash<quint32, int> tagUnit; // a tag base -> its unit among the joined
    QHash<quint32, int> indexOf; // a code point joined with others -> its set
    QVector<quint32> codePointAt;
    DisjointSets sets;
    const auto setOf = [&](quint32 codePoint) {
        const auto found = indexOf.constFind(codePoint);
        if (found != indexOf.cend())
            return found.value();
        indexOf.insert(codePoint, int(codePointAt.size()));
        codePointAt.append(codePoint);
        return sets.add();
    };
    // Joins what the kit holds of a sequence or unit. One of the first
    // slice's characters and another script's is cut between them
    // (ScriptRules.h): a Greek letter in a ligature with a Latin one ("μg")
    // would bring all of Greek into the slice every page fetches.
    const auto joinUnit = [&](const KeepList &unit, bool layoutUnit) {
        const bool otherScripts = std::any_of(unit.cbegin(), unit.cend(), [&](quint32 codePoint) {
            return home.contains(codePoint) && !joinsFirstSlice(QChar::script(char32_t(codePoint)));
        });
        int first = -1;
        for (quint32 codePoint : unit) {
            // What joins emoji (regional indicators, skin tones, tags) is kept
            // whole with each sequence instead: a layout unit of the 26
            // regional indicators would take every flag with it.
            if (!home.contains(codePoint) || (otherScripts && home.value(codePoint) == firstRuleUnit)
                || (layoutUnit && isEmojiJoiner(codePoint)))
                continue;
            const int set = setOf(codePoint);
            if (first < 0)
                first = set;
            else
                sets.join(first, set);
        }
    };
    for (const KeepList &sequence : sequences) {
        if (sequence.isEmpty() || !std::all_of(sequence.cbegin(), sequence.cend(),
                                               [&](quint32 codePoint) { return home.contains(codePoint); }))
            continue;
        if (isEmojiSequence(sequence)) {
            const auto base = std::find_if(sequence.cbegin(), sequence.cend(),
                                           [&](quint32 codePoint) { return tagBases.contains(codePoint); });
            if (base == sequence.cend()) {
                joined.append(sortedKeepList(sequence));
            } else if (tagUnit.contains(*base)) {
                KeepList &unit = joined[tagUnit.value(*base)];
                unit = sortedKeepList(unit + sequence);
            } else {
                tagUnit.insert(*base, int(joined.size()));
                joined.append(sortedKeepList(sequence));
            }
            continue;
        }
        joinUnit(sequence, false);
    }
    for (const KeepList &unit : units)
        joinUnit(unit, true);
    QMap<quint32, KeepList> groups; // by their lowest code point, so the plan does not depend on hashing
    {
        QHash<int, quint32> lowest; // a set's root -> its lowest code point
        for (int i = 0; i < codePointAt.size(); ++i) {
            const int root = sets.root(i);
            if (!lowest.contains(root) || codePointAt.at(i) < lowest.value(root))
                lowest.insert(root, codePointAt.at(i));
        }
        for (int i = 0; i < codePointAt.size(); ++i)
            groups[lowest.value(sets.root(i))].append(codePointAt.at(i));
    }
    QHash<quint32, QPair<int, int>> moved; // code point -> the slice and unit it moves to
    const int plannedSlices = int(planned.size());
    const int ownSliceSize = std::max(kSliceMinimumSize, sequencesPerSlice / 4);
    QMap<int, int> ownSliceAfter; // a slice of a group's own -> the planned slice it follows
    for (KeepList &group : groups) {
        if (group.size() < 2)
            continue;
        group = sortedKeepList(group);
        // Those already in the first slice's unit stay there; a group too
        // large for one unit is cut, in code-point order, into parts that
        // each move on their own (its sequences across two parts may then
        // be drawn apart). A group that holds another script's characters
        // besides the first slice's does not join that slice either
        // (ScriptRules.h).
        KeepList outside;
        bool withFirstRule = false, otherScripts = false;
        for (quint32 codePoint : group) {
            if (home.value(codePoint) == firstRuleUnit)
                withFirstRule = true;
            else
                outside.append(codePoint);
            otherScripts = otherScripts || !joinsFirstSlice(QChar::script(char32_t(codePoint)));
        }
        withFirstRule = withFirstRule && !otherScripts;
        const bool cut = outside.size() > largestUnit;
        const qsizetype parts = cut ? (outside.size() + largestUnit - 1) / largestUnit : 1;
        for (qsizetype part = 0; part < parts; ++part) {
            const KeepList members = outside.mid(outside.size() * part / parts,
                                                 outside.size() * (part + 1) / parts - outside.size() * part / parts);
            QPair<int, int> to{int(planned.size()), -1};
            if (withFirstRule && !cut) {
                to = firstRuleUnit;
            } else {
                // Past the first slice when more than a few of them are:
                // every page fetches that one, and a script's letters the
                // lists put there (the Greek of Chinese text) would bring in
                // the whole script. A few join it (日 with ⽇, the radical
                // that is its glyph, in ligatures of dates: 日 is on most
                // pages, ⽇ on almost none).
                qsizetype outsideFirst = 0;
                for (quint32 codePoint : members) {
                    if (home.value(codePoint).first > 0) {
                        to.first = std::min(to.first, home.value(codePoint).first);
                        ++outsideFirst;
                    }
                }
                const bool fewJoinFirst = outsideFirst > 0 && outsideFirst < members.size()
                        && outsideFirst <= ownSliceSize;
                if (to.first == int(planned.size()) || fewJoinFirst)
                    to.first = 0;
                // A large group (a script's letters) is a slice of its own
                // after that one, rather than the part of every page's fetch
                // of it that the page does not use.
                if (members.size() > ownSliceSize && !fewJoinFirst) {
                    ownSliceAfter.insert(int(planned.size()), to.first);
                    planned.append(PlannedSlice());
                    to.first = int(planned.size()) - 1;
                }
                to.second = int(planned[to.first].units.size());
                planned[to.first].units.append(KeepList());
            }
            for (quint32 codePoint : members) {
                if (home.value(codePoint) != to)
                    moved.insert(codePoint, to);
            }
        }
    }
    // Every moved code point leaves its planned unit, then joins its new one.
    for (int s = 0; s < planned.size(); ++s) {
        for (int u = 0; u < planned[s].units.size(); ++u) {
            KeepList &unit = planned[s].units[u];
            unit.removeIf([&](quint32 codePoint) { return moved.contains(codePoint); });
        }
    }
    for (auto it = moved.cbegin(); it != moved.cend(); ++it)
        planned[it.value().first].units[it.value().second].append(it.key());
    for (PlannedSlice &slice : planned) {
        for (KeepList &unit : slice.units)
            unit = sortedKeepList(unit);
    }
    // A planned slice that the moves leave with fewer than kSliceMinimumSize
    // code points joins the planned slice kept before it, as planSlices
    // joins a small one: its file would be mostly the tables every slice
    // repeats (a danda or a minus sign left beside a script that moved out
    // took 2.8 kB a character).
    QVector<PlannedSlice> kept;
    qsizetype lastPlanned = -1; // in kept
    const auto keep = [&](PlannedSlice &slice, bool isPlanned) {
        const qsizetype plannedSize = slice.codePoints.size();
        slice.units.removeIf([](const KeepList &unit) { return unit.isEmpty(); });
        slice.codePoints.clear();
        for (const KeepList &unit : slice.units)
            slice.codePoints += unit;
        slice.codePoints = sortedKeepList(slice.codePoints);
        if (slice.codePoints.isEmpty())
            return;
        if (isPlanned && lastPlanned >= 0 && slice.codePoints.size() < plannedSize
            && slice.codePoints.size() < kSliceMinimumSize) {
            PlannedSlice &before = kept[lastPlanned];
            before.units += slice.units;
            before.codePoints = merged(before.codePoints, slice.codePoints);
            return;
        }
        kept.append(slice);
        if (isPlanned)
            lastPlanned = kept.size() - 1;
    };
    for (int s = 0; s < plannedSlices; ++s) {
        keep(planned[s], true);
        for (auto it = ownSliceAfter.cbegin(); it != ownSliceAfter.cend(); ++it) {
            if (it.value() == s)
                keep(planned[it.key()], false);
        }
    }
    planned = kept;

    // The emoji sequences last, those with more skin tones first: a browser
    // tries the slices that hold a character in the reverse order of their
    // rules, fetching each until one draws the whole sequence, so the common
    // ones (without skin tones) are found after the fewest fetches. Among
    // sequences of as many tones, those of the same emoji are kept together:
    // a slice holds every ligature of the characters it maps, so slices of
    // few emoji each repeat the fewest ligatures of other slices.
    if (!joined.isEmpty()) {
        const auto isTone = [](quint32 c) { return c >= 0x1F3FB && c <= 0x1F3FF; };
        const auto key = [&](const KeepList &unit) {
            KeepList emoji, tones;
            for (quint32 codePoint : unit)
                (isTone(codePoint) ? tones : emoji).append(codePoint);
            return std::make_tuple(-tones.size(), emoji, tones);
        };
        std::stable_sort(joined.begin(), joined.end(),
                         [&](const KeepList &a, const KeepList &b) { return key(a) < key(b); });
        const qsizetype count = (joined.size() + sequencesPerSlice - 1) / std::max(1, sequencesPerSlice);
        for (qsizetype part = 0; part < count; ++part) {
            PlannedSlice sequenceSlice;
            sequenceSlice.units = joined.mid(joined.size() * part / count,
                                             joined.size() * (part + 1) / count - joined.size() * part / count);
            for (const KeepList &unit : sequenceSlice.units)
                sequenceSlice.codePoints += unit;
            sequenceSlice.codePoints = sortedKeepList(sequenceSlice.codePoints);
            planned.append(sequenceSlice);
        }
    }
    return planned;
}

QVector<PlannedSlice> planFaceSlices(const SlicePlanInput &input, const QVector<KeepList> &sequences,
                                     const QVector<KeepList> &units, int sequencesPerSlice, int largestUnit,
                                     bool *keptEarlier)
{
    *keptEarlier = false;
    SlicePlanInput afresh = input;
    afresh.earlierSlices.clear();
    QVector<PlannedSlice> planned = keepSequencesWhole(planSlices(afresh), sequences, units, sequencesPerSlice, largestUnit);
    // A known text's slices hold what its pages use, grouped by use already.
    if (input.texts.isEmpty())
        return withCoreSlices(planned);
    if (input.earlierSlices.isEmpty())
        return planned;
    QVector<PlannedSlice> keeping = keepSequencesWhole(planSlices(input), sequences, units, sequencesPerSlice, largestUnit);
    const auto weight = [&](const QVector<PlannedSlice> &slices) {
        QVector<KeepList> codePoints;
        for (const PlannedSlice &slice : slices)
            codePoints.append(slice.codePoints);
        return fetchedWeight(codePoints, input.texts);
    };
    const auto sameSlices = [](const QVector<PlannedSlice> &a, const QVector<PlannedSlice> &b) {
        return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                          [](const PlannedSlice &x, const PlannedSlice &y) { return x.codePoints == y.codePoints; });
    };
    // The same slices either way (an unchanged text, an earlier kit of
    // nothing this text uses) are the plan afresh, and said to be.
    if (sameSlices(keeping, planned) || weight(keeping) * 100 > weight(planned) * (100 + kEarlierSlicesDrift))
        return planned;
    *keptEarlier = true;
    return keeping;
}
