#pragma once
// Puts new bytes in a file without ever losing the old ones, and without
// reaching any file but the one the path lets the program open for writing.
//
// - The path is first opened for writing as given, links followed as the
//   kernel allows (so its protection of links in shared folders holds); when
//   that fails, the save stops with the system's cause.
// - A regular file (or a new one) is replaced atomically: the bytes go to an
//   unnamed file in its folder, made 0600 and given the old file's mode,
//   owner, group, ACLs and extended attributes before a byte is written,
//   then synced, named and renamed over the file that was opened (and only
//   that one). A crash at any moment leaves the old or the new file,
//   complete; one in the instant between naming and renaming also leaves that
//   name, which the next save of the file removes.
// - The file is saved in place through the descriptor opened instead when it
//   cannot be replaced without a change: it has more than one name, the saver
//   cannot give a new file its owner, group, mode or an attribute, or the
//   folder does not let the program create a file. Room for the new bytes is
//   reserved first, the old bytes are kept in memory and in a copy under the
//   user's cache folder (CSaveCopies), the file is shortened only after every
//   new byte is written, and any failure writes the old bytes back. Without
//   the copy nothing is written. Only this case cannot survive a crash
//   mid-write; the copy is then there, and is offered back.
// - An existing file that is not a regular file (a FIFO, a device node) and a
//   path naming one of the program's own open descriptors ("/dev/stdout",
//   "/dev/fd/1", "/proc/self/fd/1" ...) are written straight through, where
//   they stand (appending where the descriptor appends), never replaced.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct stat;

class CFileSaver
{
public:
    // The files a save writes through.
    enum class Role { Temporary, Target, Copy };
    // Makes the file object a save writes through for each role; the saver
    // opens it on the descriptor it made. Tests hand in files whose writes stop
    // short; a factory giving no file stands for a system refusing to make it.
    using FileFactory = std::function<std::unique_ptr<QFile>(Role role)>;

    static constexpr const char *kStandardOutput = "/dev/stdout";

    explicit CFileSaver(FileFactory factory = FileFactory());

    // Puts `bytes` in the file at `path`. False after a failure; Cause() then
    // says why and what became of the old file.
    bool Save(const QString &path, const QByteArray &bytes);

    QString Cause() const { return m_strCause; }
    // What the user should hear of besides: copies left by earlier saves of
    // the file that were cut short.
    QStringList Notes() const { return m_notes; }

    // Gives every new file a name from the start, as on a file system
    // without unnamed files.
    void UseNamedFiles() { m_bNamedOnly = true; }

    // The bytes the system knows a path by, and back.
    static QByteArray Native(const QString &path);
    static QString PathText(const QByteArray &native);

private:
    bool WriteThrough(int fd, const QByteArray &bytes, const char *why);
    bool SaveRegular(int fd, const struct stat &status, const QByteArray &path, const QByteArray &bytes);
    // Replaces `base` in the folder open as `folderFd` by a new file; `old`
    // (open as `oldFd`) is the file replaced, or null for a new one.
    bool Replace(int folderFd, const QByteArray &folder, const QByteArray &base, const struct stat *old, int oldFd,
                 const QByteArray &bytes);
    bool SaveInPlace(int fd, const QByteArray &path, const QByteArray &bytes, const QString &reason);
    // Writes all of `bytes` to `fd` through the factory's file for `role`; false with m_strCause.
    bool WriteAll(Role role, int fd, const QByteArray &bytes);
    bool Fail(const QString &cause);
    // Whether the factory stands for a system refusing to make the file for `role`.
    bool Refused(Role role) const;
    // Tells of copies left for `file` by saves cut short.
    void NoteLeftCopies(const QByteArray &file);

    FileFactory m_factory;
    QString m_strCause;
    QStringList m_notes;
    bool m_bNamedOnly = false;
};
