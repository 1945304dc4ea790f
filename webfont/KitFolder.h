#pragma once

#include "engine/KeepList.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>

// The folder a kit is written into. It is the user's own (a site, a
// project): a kit replaces only files an earlier kit wrote, and only one
// run of this program writes a kit into it at a time.

// A file the kit will write: its name in the folder and its bytes.
struct KitFileBytes
{
    QString name;
    QByteArray bytes;
};

// What went wrong with one of the kit's files, and which.
struct KitFolderProblem
{
    enum Kind {
        None,
        Busy,          // another run held the folder's lock for the whole wait
        Unlockable,    // the folder could not be opened to lock it; error holds the errno
        Cancelled,     // the user cancelled while waiting or placing
        UnusableName,  // the name cannot be a file name here (too long, say)
        InTheWay,      // a file of that name that no kit wrote, a folder or a link
        WriteFailed,   // error holds the errno
    };
    Kind kind = None;
    QString name; // the file's name in the folder, when it concerns one
    int error = 0;
};

// The earlier kit of a CSS: the slices its report lists, and whether that
// report is the one earlier versions shared between kits (index.html and
// report.json), which goes once the new kit's own are in place.
struct EarlierKit
{
    QStringList sliceFiles;
    bool sharedTexts = false;
    // Each face the report lists, with its slices' code points as the
    // report's unicode-ranges give them: a kit of a known text keeps them
    // where it can (SlicePlanInput::earlierSlices).
    struct Face
    {
        QString postScriptName;
        int index = 0;
        bool byTextUse = false;
        QVector<QVector<CodePointSpan>> slices;
    };
    QVector<Face> faces;
};

// What the kit's slices found in the folder.
struct PlacedSlices
{
    QStringList created;  // absent before: a failed run removes exactly these
    QStringList replaced; // there with other bytes than their names promise
    int kept = 0;         // there with these very bytes
};

class KitFolder
{
public:
    explicit KitFolder(const QString &path);
    ~KitFolder(); // releases the lock; a run that ends early removes the slices it created

    KitFolder(const KitFolder &) = delete;
    KitFolder &operator=(const KitFolder &) = delete;

    // Takes the folder's lock (flock on the folder itself, which leaves no
    // file behind), waiting while another run writes a kit into it, then
    // removes the temporary files a killed run left.
    KitFolderProblem lock(const std::atomic<bool> *cancel);

    // The earlier kit of the CSS: from its own report, else from the shared
    // report of earlier versions when that one names the CSS.
    EarlierKit earlierKit(const QString &cssFile) const;

    // Whether every file can go in under its name: slices where a slice or
    // nothing is, texts where an earlier kit's text or nothing is.
    KitFolderProblem check(const QVector<KitFileBytes> &slices, const QVector<KitFileBytes> &texts) const;

    // Puts the slices in place: one already there is kept only when it holds
    // these very bytes, else replaced through a temporary file.
    KitFolderProblem placeSlices(const QVector<KitFileBytes> &slices, const std::atomic<bool> *cancel);
    const PlacedSlices &placedSlices() const { return m_slices; }

    // Writes and syncs every text before any is renamed into place, so that
    // a full disk leaves the earlier kit's texts as they were, then syncs
    // the folder. Until the first text is in place a failure removes the
    // slices this run created; after it, they are named and stay.
    KitFolderProblem placeTexts(const QVector<KitFileBytes> &texts);
    // Whether a text that names the slices is in place.
    bool slicesNamed() const { return m_named; }

    // The earlier kit's slices that exist and that no kit's CSS in the
    // folder names (the new one's included: call it once the texts are in
    // place); their bytes in all. A slice another kit's CSS names is that
    // kit's as well, and stays.
    QStringList staleSlices(const EarlierKit &earlier, quint64 *bytes) const;
    // Removes those of them whose bytes still match their name's hash;
    // returns the names removed.
    QStringList prune(const QStringList &stale);

    // Removes the shared preview and report of earlier versions, when they
    // were the earlier kit's (and are still a kit's texts).
    void removeSharedTexts(const EarlierKit &earlier);

    QString filePath(const QString &name) const;

private:
    void removeCreatedSlices();
    // The slices the kit CSS files in the folder name.
    QSet<QString> slicesKitsName() const;

    QString m_path;
    int m_lock = -1;
    PlacedSlices m_slices;
    bool m_named = false;
};
