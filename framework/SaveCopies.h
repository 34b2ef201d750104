#pragma once
// What a save keeps outside the file it saves, each recorded in the user's
// cache folder with the file it belongs to, so that nothing of it is lost and
// nothing else is ever taken for it:
// - the copy of the old bytes an in-place save makes before it changes the
//   file. It goes once that file is whole again (holds the whole old or the
//   whole new text of that save); until then it waits to be offered back.
// - the name a save gives its new file for the moment of the rename. A kill
//   in that moment leaves the name; the next save of the file removes it,
//   and only while it is still the very file that save made.
// Files are named by the system's bytes for their path (CFileSaver::Native).

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <sys/stat.h>

class CSaveCopies
{
public:
    // A copy of a file's old bytes left by an in-place save that did not finish.
    struct Copy
    {
        QString path;   // the copy
        QString record; // what says whose copy it is
        qint64 size = 0;
        QDateTime time; // when it was made
    };

    // ~/.cache/marrowpad (or under $XDG_CACHE_HOME).
    static QString Folder();

    // The copies left for the regular file at `file` (its resolved path) whose
    // file is not whole; copies whose file is whole again, and copies never
    // finished (their file was not touched yet), are deleted here.
    static QList<Copy> LeftFor(const QByteArray &file);
    // The same for the file a path names, links followed.
    static QList<Copy> LeftFor(const QString &path);
    // Deletes a copy and its record.
    static void Remove(const Copy &copy);

    // Removes the names saves of `file` (its resolved path) gave their new
    // file and left behind, each only while it is the file that save made.
    static void RemoveLeftNames(const QByteArray &file);

    // Records that `name` (device and inode in `made`) is the new file of a
    // save of `file`. The record's path, empty when none could be made (a
    // name then left by a kill stays).
    static QString RecordName(const QByteArray &file, const QByteArray &name, const struct stat &made);

    // Makes the record and then the file of a copy of `oldBytes`, the text of
    // `file` (device and inode in `guarded`) before an in-place save of
    // `newBytes`. Gives the copy's path and the open descriptor (0600) its
    // bytes go to, or false with `cause`.
    static bool StartCopy(const QByteArray &file, const struct stat &guarded, const QByteArray &oldBytes,
                          const QByteArray &newBytes, Copy &copy, int &fd, QString &cause);

    // Deletes a record (and a copy's file when `copy` names one).
    static void Forget(const QString &record, const QString &copy = QString());
};
