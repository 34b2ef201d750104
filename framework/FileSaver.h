#pragma once
// Puts new bytes in a file without ever losing the old ones.
//
// - A regular file (or a new one) is replaced atomically: the bytes go to an
//   unnamed file in the same folder, which is synced, named and renamed over
//   the old file. A crash at any moment leaves the old or the new file,
//   complete; one in the instant between naming and renaming also leaves that
//   name, which the next save of the file removes.
// - A folder that does not let the program create a file still lets a
//   writable file be saved in place: room for the new bytes is reserved
//   first, the old bytes are kept in memory and in a copy under the user's
//   cache folder, the file is shortened only after every new byte is written,
//   and any failure writes the old bytes back. Without the copy nothing is
//   written. Only this case cannot survive a crash of the machine mid-write;
//   the copy is then there.
// - An existing file that is not a regular file (a FIFO, a device node,
//   standard output) is written straight through, never replaced.
// A symbolic link is followed: the file it names is saved, the link stays.
// The path "/dev/stdout" is the program's standard output itself, written
// where it stands (a pipe, a terminal, or a file the shell opened, appending
// or not).

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

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

    // The folder under the user's cache folder that holds the old bytes during
    // an in-place save.
    static QString CopyFolder();

private:
    bool WriteThrough(const QString &path, const QByteArray &bytes);
    bool WriteThrough(int fd, const QByteArray &bytes);
    bool ReplaceAtomically(const QString &path, const QByteArray &bytes, bool exists, unsigned oldMode,
                           unsigned oldOwner, unsigned oldGroup);
    bool SaveInPlace(const QString &path, const QByteArray &bytes, const QString &folderRefusal);
    // Writes all of `bytes` to `fd` through the factory's file for `role`; false with m_strCause.
    bool WriteAll(Role role, int fd, const QByteArray &bytes);
    bool Fail(const QString &cause);
    // Whether the factory stands for a system refusing to make the file for `role`.
    bool Refused(Role role) const;

    FileFactory m_factory;
    QString m_strCause;
};
