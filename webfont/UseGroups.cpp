#include "UseGroups.h"

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// The files of a group as bits, for counting the files of two groups at once.
using FileBits = std::vector<quint64>;

FileBits fileBits(const QVector<int> &files, int fileCount)
{
    FileBits bits((size_t(fileCount) + 63) / 64, 0);
    for (int file : files)
        bits[size_t(file) / 64] |= quint64(1) << (file % 64);
    return bits;
}

// Counted inline: without a CPU baseline that has POPCNT, the builtin is a
// library call per word, which took a third of a kit of 2,000 pages.
int bitCount(quint64 bits)
{
    bits -= (bits >> 1) & 0x5555555555555555ULL;
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return int((bits * 0x0101010101010101ULL) >> 56);
}

int64_t filesOfEither(const FileBits &a, const FileBits &b)
{
    int64_t count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += bitCount(a[i] | b[i]);
    return count;
}

int64_t fileCountOf(const FileBits &bits)
{
    return filesOfEither(bits, bits);
}

struct Weighed
{
    FileBits files;
    int64_t fileCount = 0;
    int64_t codePoints = 0;
    bool merged = false; // into another group
};

constexpr int64_t kNoSaving = std::numeric_limits<int64_t>::max();

int64_t sliceCost(int64_t files, int64_t codePoints)
{
    return files * (kSliceOverheadCodePoints + codePoints);
}

// What merging the two changes the files' fetching by (negative: a saving).
int64_t mergeCost(const Weighed &a, const Weighed &b, int mostCodePoints)
{
    if (a.codePoints + b.codePoints > mostCodePoints)
        return kNoSaving;
    // With the files of the larger group alone (the fewest the merge can
    // have), a merge that saves nothing is found without counting.
    const int64_t alone = sliceCost(std::max(a.fileCount, b.fileCount), a.codePoints + b.codePoints)
            - sliceCost(a.fileCount, a.codePoints) - sliceCost(b.fileCount, b.codePoints);
    if (alone >= 0)
        return alone;
    return sliceCost(filesOfEither(a.files, b.files), a.codePoints + b.codePoints)
            - sliceCost(a.fileCount, a.codePoints) - sliceCost(b.fileCount, b.codePoints);
}

UseGroup joined(const UseGroup &a, const UseGroup &b)
{
    UseGroup both{a.files, a.codePoints + b.codePoints};
    both.files += b.files;
    std::sort(both.files.begin(), both.files.end());
    both.files.erase(std::unique(both.files.begin(), both.files.end()), both.files.end());
    return both;
}

} // namespace

QVector<UseGroup> mergedForFewerBytes(QVector<UseGroup> groups, int fileCount, int mostCodePoints)
{
    while (groups.size() > kMostGroupsWeighed) {
        QVector<UseGroup> pairs;
        for (qsizetype i = 0; i < groups.size(); i += 2)
            pairs.append(i + 1 < groups.size() ? joined(groups.at(i), groups.at(i + 1)) : groups.at(i));
        groups = pairs;
    }
    const qsizetype count = groups.size();
    std::vector<Weighed> weighed(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i) {
        Weighed &group = weighed[size_t(i)];
        group.files = fileBits(groups.at(i).files, fileCount);
        group.fileCount = fileCountOf(group.files);
        group.codePoints = groups.at(i).codePoints.size();
    }
    // Each group's best merge: its cost and the other group.
    std::vector<int64_t> bestCost(size_t(count), kNoSaving);
    std::vector<qsizetype> bestOther(size_t(count), -1);
    const auto findBest = [&](qsizetype i) {
        bestCost[size_t(i)] = kNoSaving;
        bestOther[size_t(i)] = -1;
        for (qsizetype k = 0; k < count; ++k) {
            if (k == i || weighed[size_t(k)].merged)
                continue;
            const int64_t cost = mergeCost(weighed[size_t(i)], weighed[size_t(k)], mostCodePoints);
            if (cost < bestCost[size_t(i)]) {
                bestCost[size_t(i)] = cost;
                bestOther[size_t(i)] = k;
            }
        }
    };
    for (qsizetype i = 0; i < count; ++i)
        findBest(i);
    for (;;) {
        qsizetype into = -1;
        for (qsizetype i = 0; i < count; ++i) {
            if (!weighed[size_t(i)].merged && bestCost[size_t(i)] < 0
                && (into < 0 || bestCost[size_t(i)] < bestCost[size_t(into)]))
                into = i;
        }
        if (into < 0)
            break;
        qsizetype other = bestOther[size_t(into)];
        if (other < into)
            std::swap(into, other);
        Weighed &kept = weighed[size_t(into)], &gone = weighed[size_t(other)];
        for (size_t w = 0; w < kept.files.size(); ++w)
            kept.files[w] |= gone.files[w];
        kept.fileCount = fileCountOf(kept.files);
        kept.codePoints += gone.codePoints;
        gone.merged = true;
        groups[into] = joined(groups.at(into), groups.at(other));
        findBest(into);
        for (qsizetype k = 0; k < count; ++k) {
            if (k == into || weighed[size_t(k)].merged)
                continue;
            if (bestOther[size_t(k)] == into || bestOther[size_t(k)] == other) {
                findBest(k);
            } else {
                const int64_t cost = mergeCost(weighed[size_t(k)], kept, mostCodePoints);
                if (cost < bestCost[size_t(k)]) {
                    bestCost[size_t(k)] = cost;
                    bestOther[size_t(k)] = into;
                }
            }
        }
    }
    QVector<UseGroup> result;
    for (qsizetype i = 0; i < count; ++i) {
        if (!weighed[size_t(i)].merged)
            result.append(groups.at(i));
    }
    return result;
}

qint64 fetchedWeight(const QVector<KeepList> &slices, const QVector<KeepList> &files)
{
    QHash<quint32, QVector<int>> users; // code point -> the files that use it
    for (int file = 0; file < files.size(); ++file) {
        for (quint32 codePoint : files.at(file))
            users[codePoint].append(file);
    }
    qint64 weight = 0;
    std::vector<int> seenIn(size_t(files.size()), -1); // file -> the last slice that counted it
    for (int slice = 0; slice < slices.size(); ++slice) {
        qint64 fetching = 0;
        for (quint32 codePoint : slices.at(slice)) {
            for (int file : users.value(codePoint)) {
                if (seenIn[size_t(file)] != slice) {
                    seenIn[size_t(file)] = slice;
                    ++fetching;
                }
            }
        }
        weight += sliceCost(fetching, slices.at(slice).size());
    }
    return weight;
}
