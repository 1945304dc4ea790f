#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <functional>

// The one namer of every file the program writes: split members, the
// per-user copies of collection members and subset outputs.
//
// It lives here, under both catalogue/ and engine/, and touches no file
// itself: whether a name is already on disk is a question its caller passes
// in, so the rule can be tested without a folder.

// The name without control (Cc), format (Cf: bidi embeddings and isolates,
// zero-width characters) and line or paragraph separator characters: a line
// break would split the one-path-per-line output, and a bidi override shows a
// file name in another order than the one it has.
QString printableName(const QString &name);

// Whether a name can name a visible file inside a folder: not empty, no
// leading dot, no path separator, the same once encoded for the file
// system, and not too long for it.
bool isUsableFileName(const QString &name);

// The names a font answers to, from its `name` table.
struct FontNames
{
    QString family;
    QString fullName;
    QString subfamily;
    int index = 0; // in its collection
};

class FileNamer
{
public:
    // What is at a file name before this run: nothing, a file this font may
    // keep or replace (a split keeps any file it finds, the per-user store
    // replaces an outdated copy of the same font), or another font's file,
    // which makes the namer go on to its next rule.
    enum class Presence { Absent, Own, Other };
    using Query = std::function<Presence(const QString &fileName, const FontNames &names)>;
    // collection: the base name of the collection file whose members are
    // named, which names a member whose family has no printable character.
    explicit FileNamer(Query presence = {}, const QString &collection = {})
        : m_presence(std::move(presence)), m_collection(printableName(collection))
    {
    }

    struct Choice
    {
        QString fileName;     // empty when the font has no usable family name
        bool existed = false; // a file of that name was there before this run
    };

    // The first of these names not yet taken in this run: the family, the
    // full name, "family subfamily" (a Regular subfamily adds nothing, as in
    // full names), then "family N" from the font's index on (N counts from
    // 0, as the index does). A font whose family has no printable character
    // is "collection N", the same way. Each name is printableName'd first;
    // the chosen one is taken. Empty when the family (or the collection's
    // name standing in for it) is not a usable file name once printable.
    // Each check is a set lookup.
    Choice choose(const FontNames &names, const QString &suffix);

private:
    Presence presence(const QString &fileName, const FontNames &names) const;
    bool isFree(const QString &baseName, const QString &suffix, const FontNames &names) const;

    Query m_presence;
    QString m_collection;
    // Names taken, without their suffix: "Alpha.ttf" and "Alpha.otf" would
    // be two fonts a user cannot tell apart. Compared as the file system
    // compares them, case and all.
    QSet<QString> m_taken;
    QHash<QString, int> m_nextNumber; // per family, where "family N" goes on counting
};
