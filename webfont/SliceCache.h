#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <mutex>

// Finished slices kept between runs, each under the name of its key (the
// hash of everything that decides its bytes: see SliceMaker.cpp), so that a
// rebuild copies the slices it made before instead of cutting and
// compressing them again. The folder is the program's own, but only files
// of the cache's naming are ever read or removed there.
//
// An entry is "<key>.<content hash>.woff2", each 32 hexadecimal digits of
// SHA-256: written to a temporary name and renamed into place whole, and its
// bytes checked against its name's content hash before each use, so that a
// killed run (temporary files, which a later run removes) or a damaged disk
// (a truncated or changed entry, which is removed) is never trusted. Least
// recently used entries go first when the folder holds more than its bound;
// an entry's modification time is its last use.

// The default bound: some 70 whole kits of a large CJK font.
constexpr quint64 kSliceCacheBytes = quint64(1) << 30;

class SliceCache
{
public:
    // Makes the folder when it is absent and removes the temporary files a
    // killed run left there. A folder that cannot be made or listed gives a
    // cache that finds nothing and keeps nothing, with the reason.
    explicit SliceCache(const QString &folder, quint64 mostBytes = kSliceCacheBytes);

    SliceCache(const SliceCache &) = delete;
    SliceCache &operator=(const SliceCache &) = delete;

    // Empty when the cache can be used; else why not ("/home/me/.cache:
    // Permission denied").
    QString problem() const { return m_problem; }
    QString folder() const { return m_folder; }

    // The entry's bytes when it is there and whole (its modification time
    // then made now), else empty; an entry whose bytes do not match its
    // name is removed. Safe to call from several threads.
    QByteArray find(const QByteArray &key);

    // Keeps the bytes under the key. Failures (a full disk) are only counted:
    // the kit does not depend on its cache. Safe to call from several threads.
    void keep(const QByteArray &key, const QByteArray &bytes);
    int keepFailures() const;
    // How many entries this cache has kept.
    int kept() const;

    // Removes the least recently used entries until those left take at most
    // the bound. Returns how many were removed.
    int trim();

private:
    QString entryPath(const QString &name) const;
    void forget(const QByteArray &key, const QString &name);

    QString m_folder;
    quint64 m_mostBytes;
    QString m_problem;
    mutable std::mutex m_mutex;
    QHash<QByteArray, QString> m_entries; // hexadecimal key -> entry's file name
    int m_keepFailures = 0;
    int m_kept = 0;
};
