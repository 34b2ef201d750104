#include "framework/FileSaver.h"

#include "framework/FileBytes.h"
#include "framework/FileName.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
class CDescriptor
{
public:
    explicit CDescriptor(int fd = -1) : m_fd(fd) {}
    ~CDescriptor() { Reset(); }
    CDescriptor(const CDescriptor &) = delete;
    CDescriptor &operator=(const CDescriptor &) = delete;
    int Get() const { return m_fd; }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// The bytes of a path; none (so that nothing is opened) for a text that names no file.
QByteArray Native(const QString &path) { return FileNameBytes(path).value_or(QByteArray()); }

QString Quoted(const QString &path) { return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"'); }

QString Unchanged(bool exists)
{
    return exists ? QStringLiteral("The old file is unchanged.") : QStringLiteral("No file was written.");
}

// The file a path names, symbolic links followed; the path itself when it
// names nothing yet.
QString Resolved(const QString &path)
{
    char resolved[PATH_MAX];
    if (::realpath(Native(path).constData(), resolved))
        return FileNameFromBytes(resolved);
    return path;
}

// A name for a file of the save in `folder`, unlikely to be taken.
QString FreshName(const QString &folder, const QString &base, const char *suffix)
{
    return folder + QStringLiteral("/.%1.%2%3")
                        .arg(base)
                        .arg(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFull, 0, 36)
                        .arg(QLatin1String(suffix));
}

// Writes `bytes` at the start of `fd` with the system's own calls.
bool PutBack(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// Removes the names a save killed between naming its new file and renaming
// it over `base` left behind: complete copies of a script saved after all.
void RemoveLeftovers(const QString &folder, const QString &base)
{
    const QString prefix = QLatin1Char('.') + base + QLatin1Char('.');
    const QString suffix = QStringLiteral(".saving");
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.size() <= prefix.size() + suffix.size() || !name.startsWith(prefix) || !name.endsWith(suffix))
            continue;
        const QStringView middle = QStringView(name).mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (std::all_of(middle.begin(), middle.end(), [](QChar c) { return c.isDigit() || (c >= u'a' && c <= u'z'); }))
            ::unlink(Native(folder + QLatin1Char('/') + name).constData());
    }
}

void SyncFolder(const QString &folder)
{
    CDescriptor fd(::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

} // namespace

CFileSaver::CFileSaver(FileFactory factory) : m_factory(std::move(factory)) {}

QString CFileSaver::CopyFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/marrowpad");
}

bool CFileSaver::Refused(Role role) const
{
    return m_factory && !m_factory(role);
}

bool CFileSaver::Fail(const QString &cause)
{
    m_strCause = cause;
    return false;
}

bool CFileSaver::WriteAll(Role role, int fd, const QByteArray &bytes)
{
    std::unique_ptr<QFile> file = m_factory ? m_factory(role) : std::make_unique<QFile>();
    if (!file)
        return Fail(SystemErrorText(EIO));
    // Unbuffered, so that a short write is seen here and not lost in a final flush.
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return Fail(file->errorString());
    const qint64 written = bytes.isEmpty() ? 0 : file->write(bytes.constData(), bytes.size());
    if (written == bytes.size() && file->error() == QFileDevice::NoError)
        return true;
    const QString systemText = file->error() != QFileDevice::NoError ? file->errorString() : QString();
    return Fail(QStringLiteral("Only %1 of %2 bytes could be written%3")
                    .arg(qMax<qint64>(written, 0))
                    .arg(bytes.size())
                    .arg(systemText.isEmpty() ? QStringLiteral("; the disk may be full.")
                                              : QStringLiteral(": ") + systemText + QLatin1Char('.')));
}

bool CFileSaver::Save(const QString &path, const QByteArray &bytes)
{
    m_strCause.clear();
    if (path == QLatin1String(kStandardOutput))
        return WriteThrough(STDOUT_FILENO, bytes);
    const QString target = Resolved(path);
    struct stat status {};
    const bool exists = ::stat(Native(target).constData(), &status) == 0;
    if (!exists && errno != ENOENT)
        return Fail(SystemErrorText(errno) + QLatin1Char(' ') + Unchanged(true));
    if (exists && S_ISDIR(status.st_mode))
        return Fail(QStringLiteral("It is a folder, not a file; nothing was written."));
    if (exists && !S_ISREG(status.st_mode))
        return WriteThrough(target, bytes);
    if (exists && ::access(Native(target).constData(), W_OK) != 0)
        return Fail(QStringLiteral("It cannot be written: %1 %2").arg(SystemErrorText(errno), Unchanged(true)));
    return ReplaceAtomically(target, bytes, exists, status.st_mode & 07777, status.st_uid, status.st_gid);
}

bool CFileSaver::WriteThrough(const QString &path, const QByteArray &bytes)
{
    // No O_CREAT, no O_TRUNC: a FIFO, a device or a terminal takes the bytes as they come.
    CDescriptor fd(::open(Native(path).constData(), O_WRONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return Fail(SystemErrorText(errno) + QStringLiteral(" Nothing was written."));
    return WriteThrough(fd.Get(), bytes);
}

bool CFileSaver::WriteThrough(int fd, const QByteArray &bytes)
{
    if (!WriteAll(Role::Target, fd, bytes))
        return Fail(m_strCause + QStringLiteral(" It is not a regular file, so it was written directly."));
    return true;
}

bool CFileSaver::ReplaceAtomically(const QString &path, const QByteArray &bytes, bool exists, unsigned oldMode,
                                   unsigned oldOwner, unsigned oldGroup)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (Refused(Role::Temporary))
        return exists ? SaveInPlace(path, bytes, SystemErrorText(EACCES))
                      : Fail(QStringLiteral("The folder %1 does not allow creating a file: %2 %3")
                                 .arg(Quoted(folder), SystemErrorText(EACCES), Unchanged(false)));
    RemoveLeftovers(folder, info.fileName());
    // An unnamed file, so that no crash can leave a temporary file behind; a
    // named one where the file system has none.
    CDescriptor fd(::open(Native(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    QString named;
    if (fd.Get() < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        do {
            named = FreshName(folder, info.fileName(), ".saving");
            fd.Reset(::open(Native(named).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        } while (fd.Get() < 0 && errno == EEXIST);
    }
    if (fd.Get() < 0) {
        const int error = errno;
        if (error == ENOENT)
            return Fail(QStringLiteral("The folder %1 does not exist. %2").arg(Quoted(folder), Unchanged(exists)));
        if (exists && (error == EACCES || error == EPERM))
            return SaveInPlace(path, bytes, SystemErrorText(error));
        return Fail(QStringLiteral("The folder %1 does not allow creating a file: %2 %3")
                        .arg(Quoted(folder), SystemErrorText(error), Unchanged(exists)));
    }
    auto abandon = [&](const QString &cause) {
        if (!named.isEmpty())
            ::unlink(Native(named).constData());
        return Fail(cause + QLatin1Char(' ') + Unchanged(exists));
    };
    if (bytes.size() > 0 && ::posix_fallocate(fd.Get(), 0, off_t(bytes.size())) == ENOSPC)
        return abandon(QStringLiteral("There is no room for %1 bytes: %2").arg(bytes.size()).arg(SystemErrorText(ENOSPC)));
    if (!WriteAll(Role::Temporary, fd.Get(), bytes))
        return abandon(m_strCause);
    if (exists) {
        ::fchmod(fd.Get(), oldMode);
        // Not fatal when it fails: the script then belongs to the user who saved it.
        const bool ownerKept = ::geteuid() != 0 || ::fchown(fd.Get(), oldOwner, oldGroup) == 0;
        Q_UNUSED(ownerKept);
    }
    if (::fsync(fd.Get()) != 0)
        return abandon(SystemErrorText(errno));
    if (named.isEmpty()) {
        // Give the unnamed file a name only now, for the moment of the rename.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd.Get());
        int linked = -1;
        do {
            named = FreshName(folder, info.fileName(), ".saving");
            linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, Native(named).constData(), AT_SYMLINK_FOLLOW);
        } while (linked != 0 && errno == EEXIST);
        if (linked != 0) {
            const QString cause = SystemErrorText(errno);
            named.clear();
            return abandon(cause);
        }
    }
    if (::rename(Native(named).constData(), Native(path).constData()) != 0)
        return abandon(SystemErrorText(errno));
    SyncFolder(folder);
    return true;
}

bool CFileSaver::SaveInPlace(const QString &path, const QByteArray &bytes, const QString &folderRefusal)
{
    const QString folder = QFileInfo(path).absolutePath();
    CDescriptor fd(::open(Native(path).constData(), O_RDWR | O_CLOEXEC));
    if (fd.Get() < 0)
        return Fail(SystemErrorText(errno) + QLatin1Char(' ') + Unchanged(true));
    QByteArray old;
    QString cause;
    if (!ReadFileBytes(path, qint64(1) << 40, old, cause))
        return Fail(cause + QLatin1Char(' ') + Unchanged(true));

    // The copy of the old bytes comes first: without it nothing is written.
    const QString copyFolder = CopyFolder();
    const QString copy = FreshName(copyFolder, QFileInfo(path).fileName(), ".old");
    auto noCopy = [&](const QString &why) {
        return Fail(QStringLiteral("The folder %1 does not allow creating a file (%2), and no copy of the old "
                                   "script could be made in %3: %4 Nothing was written; %5")
                        .arg(Quoted(folder), folderRefusal.chopped(1), Quoted(copyFolder), why,
                             Unchanged(true).toLower()));
    };
    if (!QDir().mkpath(copyFolder))
        return noCopy(QStringLiteral("The folder cannot be made."));
    if (Refused(Role::Copy))
        return noCopy(SystemErrorText(EACCES));
    CDescriptor copyFd(::open(Native(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (copyFd.Get() < 0)
        return noCopy(SystemErrorText(errno));
    if (!WriteAll(Role::Copy, copyFd.Get(), old) || ::fsync(copyFd.Get()) != 0) {
        const QString why = m_strCause.isEmpty() ? SystemErrorText(errno) : m_strCause;
        ::unlink(Native(copy).constData());
        return noCopy(why);
    }
    copyFd.Reset();
    SyncFolder(copyFolder);

    auto putBack = [&](const QString &why) {
        if (PutBack(fd.Get(), old)) {
            ::unlink(Native(copy).constData());
            return Fail(why + QLatin1Char(' ') + Unchanged(true));
        }
        return Fail(why + QStringLiteral(" The old script could not be put back; a copy of it is in %1.").arg(Quoted(copy)));
    };
    // Room first, so that a full disk stops the save before a byte is changed.
    if (bytes.size() > old.size()) {
        const int error = ::posix_fallocate(fd.Get(), 0, off_t(bytes.size()));
        if (error != 0)
            return putBack(QStringLiteral("There is no room for %1 bytes: %2").arg(bytes.size()).arg(SystemErrorText(error)));
    }
    m_strCause.clear();
    if (!WriteAll(Role::Target, fd.Get(), bytes))
        return putBack(m_strCause);
    // Shortened only now that every new byte is there.
    if (bytes.size() < old.size() && ::ftruncate(fd.Get(), off_t(bytes.size())) != 0)
        return putBack(SystemErrorText(errno));
    if (::fsync(fd.Get()) != 0)
        return putBack(SystemErrorText(errno));
    ::unlink(Native(copy).constData());
    return true;
}
