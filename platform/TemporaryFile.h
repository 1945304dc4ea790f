#pragma once

#include "base/SfntSink.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// A new file under a hidden name of this program's own in a folder, written
// through its descriptor and then put under its real name whole: synced
// before the rename, so that after a power cut the real name holds the whole
// file or nothing. Until then it is locked (flock), which tells a run that
// cleans the folder that its writer is alive.
class TemporaryFile : public SfntSink
{
public:
    explicit TemporaryFile(const QString &folder);
    ~TemporaryFile() override; // removes the file unless it was placed

    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // 0, or the errno of making the file.
    int error() const { return m_error; }
    QString path() const { return m_path; }

    int append(const char *data, quint64 size) override;
    int appendCopy(QFile &from, quint64 offset, quint64 length) override;
    int writeAt(quint64 offset, const char *data, quint64 size) override;

    // Gives the file this modification time.
    int setModified(const QDateTime &time);

    // Syncs the file without placing it, so that a full disk shows before
    // any file is renamed. 0 or the errno.
    int sync();

    enum class Placing { NoReplace, Replace };
    // Syncs the file, renames it to `path` and closes it. With NoReplace,
    // EEXIST when a file is there, which is left alone. 0 or the errno of the
    // step that failed; the temporary file is gone either way.
    int place(const QString &path, Placing placing);

private:
    QString m_path;
    int m_descriptor = -1;
    int m_error = 0;
};

// Writes the bytes to a temporary file in path's folder and places it at
// path as `placing` says. 0 or the errno of the step that failed.
int placeBytes(const QString &path, const QByteArray &bytes, TemporaryFile::Placing placing);

// Removes the temporary files a killed run of this program left in the
// folder: only names of its own pattern, only when no live writer holds
// them locked and they have not changed for a minute. Returns how many.
int removeLeftoverTemporaryFiles(const QString &folder);

// The bytes free to an ordinary user on the folder's file system, and its
// fragment size, which every file takes a whole number of. False, with the
// errno in *error, when it cannot be asked; *readOnly when it is mounted so.
bool folderSpace(const QString &folder, quint64 *freeBytes, quint64 *fragmentSize, bool *readOnly, int *error);

// Syncs the folder itself, so that the names renamed into it survive a power cut.
int syncFolder(const QString &folder);
