#include "FontRegistry.h"

#include "FontconfigHandles.h"
#include "NameFolding.h"

#include <QMap>
#include <QStringList>

#include <algorithm>

namespace {

const char *patternString(FcPattern *pattern, const char *object, int n = 0)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch)
        return nullptr;
    return reinterpret_cast<const char *>(value);
}

bool equalIgnoringBlanks(const QString &a, const QString &b)
{
    const QChar blank(QLatin1Char(' '));
    for (int i = 0, j = 0;; ++i, ++j) {
        while (i < a.size() && a.at(i) == blank)
            ++i;
        while (j < b.size() && b.at(j) == blank)
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a.at(i) != b.at(j))
            return false;
    }
}

// Compares the names fontconfig keeps (UTF-8) with one folded name. Most
// names are ASCII, whose folded form is their lower case: those are
// compared byte by byte, without making a string of each.
class NameMatcher
{
public:
    NameMatcher(const QString &folded, NameComparison comparison)
        : m_wanted(folded), m_ignoreBlanks(comparison == NameComparison::FoldedIgnoringBlanks)
    {
    }

    bool matches(const char *name) const
    {
        const auto *c = reinterpret_cast<const unsigned char *>(name);
        for (int i = 0;; ++c, ++i) {
            if (m_ignoreBlanks) {
                while (*c == ' ')
                    ++c;
                while (i < m_wanted.size() && m_wanted.at(i) == QLatin1Char(' '))
                    ++i;
            }
            if (*c >= 0x80)
                return matchesFolded(name);
            if (*c == 0 || i == m_wanted.size())
                return *c == 0 && i == m_wanted.size();
            const char lower = *c >= 'A' && *c <= 'Z' ? char(*c - 'A' + 'a') : char(*c);
            if (m_wanted.at(i) != QLatin1Char(lower))
                return false;
        }
    }

private:
    bool matchesFolded(const char *name) const
    {
        const QString folded = foldedName(QString::fromUtf8(name));
        return m_ignoreBlanks ? equalIgnoringBlanks(folded, m_wanted) : folded == m_wanted;
    }

    QString m_wanted;
    bool m_ignoreBlanks;
};

bool anyMatches(FcPattern *pattern, const char *object, const NameMatcher &matcher)
{
    for (int n = 0;; ++n) {
        const char *name = patternString(pattern, object, n);
        if (!name)
            return false;
        if (matcher.matches(name))
            return true;
    }
}

// A style value as fontconfig keeps it: a number, or a range for a variable face.
StyleSpan patternSpan(FcPattern *pattern, const char *object, StyleSpan absent)
{
    double value = 0;
    if (FcPatternGetDouble(pattern, object, 0, &value) == FcResultMatch)
        return {value, value};
    FcRange *range = nullptr;
    double begin = 0, end = 0;
    if (FcPatternGetRange(pattern, object, 0, &range) == FcResultMatch && FcRangeGetDouble(range, &begin, &end))
        return {begin, end};
    return absent;
}

// How the faces of a file are ordered among the others: by the names of all
// its faces, its named instances' among them, as "Family Style".
QString fileEntryName(const QStringList &faceNames)
{
    QStringList sorted = faceNames;
    sorted.sort();
    return sorted.join(QLatin1String(" & "));
}

} // namespace

QVector<RegisteredFace> registeredFacesNamed(const QString &foldedName, NameComparison comparison)
{
    if (foldedName.isEmpty() || !FcInit() || !FcInitBringUptoDate())
        return {};
    // The cache's own patterns, walked where they are: listing them
    // (FcFontList) would copy every one of them first. The reference keeps
    // the configuration alive should another thread bring it up to date.
    const FcConfigPtr config(FcConfigReference(nullptr));
    if (!config)
        return {};
    const NameMatcher matcher(foldedName, comparison);
    QVector<RegisteredFace> faces;
    QMap<QString, QStringList> faceNamesByFile;
    for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
        FcFontSet *fonts = FcConfigGetFonts(config.get(), set);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcPattern *font = fonts->fonts[i];
            const bool familyAnswers = anyMatches(font, FC_FAMILY, matcher);
            const bool fullNameAnswers = anyMatches(font, FC_FULLNAME, matcher);
            const char *file = patternString(font, FC_FILE);
            int index = 0;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            // fontconfig numbers a variable font's named instances (index >> 16).
            if ((!familyAnswers && !fullNameAnswers) || !file || index < 0 || index > 0xFFFF)
                continue;
            RegisteredFace face;
            face.file = QString::fromUtf8(file);
            face.index = index;
            const char *foundry = patternString(font, FC_FOUNDRY);
            face.foundry = foundry ? QString::fromUtf8(foundry) : QString();
            face.familyAnswers = familyAnswers;
            face.fullNameAnswers = fullNameAnswers;
            face.width = patternSpan(font, FC_WIDTH, face.width);
            const StyleSpan weight = patternSpan(font, FC_WEIGHT, {FC_WEIGHT_REGULAR, FC_WEIGHT_REGULAR});
            face.weight = {FcWeightToOpenTypeDouble(weight.low), FcWeightToOpenTypeDouble(weight.high)};
            face.slant = patternSpan(font, FC_SLANT, face.slant);
            faces.append(face);
            faceNamesByFile.insert(face.file, {});
        }
    }
    if (faces.isEmpty())
        return faces;

    // The order needs the names of every face of the files found.
    for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
        FcFontSet *fonts = FcConfigGetFonts(config.get(), set);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            const char *file = patternString(fonts->fonts[i], FC_FILE);
            const auto names = file ? faceNamesByFile.find(QString::fromUtf8(file)) : faceNamesByFile.end();
            if (names == faceNamesByFile.end())
                continue;
            const char *family = patternString(fonts->fonts[i], FC_FAMILY);
            const char *style = patternString(fonts->fonts[i], FC_STYLE);
            const QString faceName = (QString::fromUtf8(family) + QLatin1Char(' ') + QString::fromUtf8(style)).trimmed();
            if (!names->contains(faceName))
                names->append(faceName);
        }
    }
    QMap<QString, QString> entryNames;
    for (auto it = faceNamesByFile.cbegin(); it != faceNamesByFile.cend(); ++it)
        entryNames.insert(it.key(), fileEntryName(it.value()));
    std::sort(faces.begin(), faces.end(), [&](const RegisteredFace &a, const RegisteredFace &b) {
        const QString entryA = entryNames.value(a.file), entryB = entryNames.value(b.file);
        if (entryA != entryB)
            return entryA < entryB;
        return a.file != b.file ? a.file < b.file : a.index < b.index;
    });
    faces.erase(std::unique(faces.begin(), faces.end(),
                            [](const RegisteredFace &a, const RegisteredFace &b) {
                                return a.file == b.file && a.index == b.index;
                            }),
                faces.end());
    return faces;
}
