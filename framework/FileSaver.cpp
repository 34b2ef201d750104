#include "framework/FileSaver.h"

#include "framework/FileBytes.h"
#include "framework/FileName.h"
#include "framework/SaveCopies.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

QString Quoted(const QByteArray &path)
{
    return QLatin1Char('"') + ShownFileName(CFileSaver::PathText(path)) + QLatin1Char('"');
}

QString Unchanged(bool exists)
{
    return exists ? QStringLiteral("The old file is unchanged.") : QStringLiteral("No file was written.");
}

QByteArray Resolved(const QByteArray &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

// The descriptor of this process that `path` names ("/dev/stdout",
// "/dev/fd/N", "/proc/self/fd/N" and their kin, also through links to
// them), or -1.
int OwnDescriptor(QByteArray path)
{
    const QByteArray ownProc = "/proc/" + QByteArray::number(::getpid()) + "/fd/";
    for (int hop = 0; hop < 40; ++hop) {
        QList<QByteArray> parts = path.split('/');
        parts.removeAll(QByteArray());
        parts.removeAll(QByteArray("."));
        const QByteArray clean = path.startsWith('/') ? '/' + parts.join('/') : QByteArray();
        static const char *const kStandard[] = {"/dev/stdin", "/dev/stdout", "/dev/stderr"};
        for (int fd = 0; fd < 3; ++fd)
            if (clean == kStandard[fd])
                return ::fcntl(fd, F_GETFD) != -1 ? fd : -1;
        for (const QByteArray &prefix :
             {QByteArray("/dev/fd/"), QByteArray("/proc/self/fd/"), QByteArray("/proc/thread-self/fd/"), ownProc}) {
            bool number = false;
            const int fd = clean.startsWith(prefix) ? clean.mid(prefix.size()).toInt(&number, 10) : -1;
            if (number && fd >= 0)
                return ::fcntl(fd, F_GETFD) != -1 ? fd : -1;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), link, sizeof link);
        if (length <= 0 || length == sizeof link)
            return -1;
        const QByteArray target(link, length);
        path = target.startsWith('/') ? target : path.left(path.lastIndexOf('/') + 1) + target;
    }
    return -1;
}

// A name for a new file beside `base`, unlikely to be taken.
QByteArray FreshName(const QByteArray &base)
{
    return '.' + base + '.' + QByteArray::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFull, 36)
           + ".saving";
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

void SyncFolder(const QByteArray &folder)
{
    CDescriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

// The names of the extended attributes of `fd` (ACLs among them); false when
// they cannot be read. A file system without them has none.
bool AttributeNames(int fd, QList<QByteArray> &names)
{
    QByteArray list;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        list.resize(size);
        const ssize_t got = ::flistxattr(fd, list.data(), size_t(list.size()));
        if (got >= 0) {
            list.truncate(got);
            break;
        }
        if (errno != ERANGE)
            return false;
    }
    names = list.split('\0');
    names.removeAll(QByteArray());
    return true;
}

bool AttributeValue(int fd, const QByteArray &name, QByteArray &value)
{
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        value.resize(size);
        const ssize_t got = ::fgetxattr(fd, name.constData(), value.data(), size_t(value.size()));
        if (got >= 0) {
            value.truncate(got);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

// Gives `made` every extended attribute of `old` and no other; empty, or why
// that cannot be done.
QString CopyAttributes(int old, int made)
{
    QList<QByteArray> names, present;
    if (!AttributeNames(old, names) || !AttributeNames(made, present))
        return QStringLiteral("its extended attributes cannot be read");
    for (const QByteArray &name : names) {
        QByteArray value;
        if (!AttributeValue(old, name, value)
            || ::fsetxattr(made, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return QStringLiteral("a new file cannot be given its extended attribute %1")
                .arg(QString::fromLatin1(name));
    }
    for (const QByteArray &name : present)
        if (!names.contains(name) && ::fremovexattr(made, name.constData()) != 0)
            return QStringLiteral("a new file cannot be kept from holding the extended attribute %1")
                .arg(QString::fromLatin1(name));
    return QString();
}

// Gives `made` the owner, group, mode and attributes of `old`; empty, or why
// that cannot be done.
QString CarryOver(int oldFd, const struct stat &old, int made)
{
    struct stat status
    {
    };
    if (::fstat(made, &status) != 0)
        return SystemErrorText(errno).chopped(1);
    // The owner first: changing it clears the set-ID bits.
    if ((status.st_uid != old.st_uid || status.st_gid != old.st_gid) && ::fchown(made, old.st_uid, old.st_gid) != 0)
        return QStringLiteral("a new file cannot be given its owner and group");
    const mode_t mode = old.st_mode & 07777;
    if (::fchmod(made, mode) != 0)
        return QStringLiteral("a new file cannot be given its permissions");
    const QString attributes = CopyAttributes(oldFd, made);
    if (!attributes.isEmpty())
        return attributes;
    // The system quietly drops a set-group-ID bit the saver may not set.
    if (::fstat(made, &status) != 0 || (status.st_mode & 07777) != mode)
        return QStringLiteral("a new file cannot be given its permissions %1").arg(uint(mode), 4, 8, QLatin1Char('0'));
    return QString();
}

} // namespace

// The bytes of a path; none (so that nothing is opened) for a text that names no file.
QByteArray CFileSaver::Native(const QString &path)
{
    return FileNameBytes(path).value_or(QByteArray());
}

QString CFileSaver::PathText(const QByteArray &native)
{
    return FileNameFromBytes(native);
}

CFileSaver::CFileSaver(FileFactory factory) : m_factory(std::move(factory)) {}

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

void CFileSaver::NoteLeftCopies(const QByteArray &file)
{
    for (const CSaveCopies::Copy &copy : CSaveCopies::LeftFor(file))
        m_notes << QStringLiteral("A save of %1 was cut short on %2; what the file held before is kept in %3.")
                       .arg(Quoted(file), QLocale().toString(copy.time, QLocale::ShortFormat),
                            Quoted(Native(copy.path)));
}

bool CFileSaver::Save(const QString &path, const QByteArray &bytes)
{
    m_strCause.clear();
    m_notes.clear();
    const QByteArray native = Native(path);
    const int own = OwnDescriptor(native);
    if (own >= 0)
        return WriteThrough(own, bytes,
                            " It names one of the program's open descriptors, so it was written through it.");
    // Only what this path lets the program open for writing is saved, as for
    // any program writing to it.
    CDescriptor fd(::open(native.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0 && errno == ENXIO) // a FIFO nobody reads yet: wait for a reader, as a shell does
        fd.Reset(::open(native.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        const int error = errno;
        struct stat link
        {
        };
        if (error == EISDIR)
            return Fail(QStringLiteral("It is a folder, not a file; nothing was written."));
        if (error != ENOENT)
            return Fail(SystemErrorText(error) + QLatin1Char(' ') + Unchanged(true));
        if (::lstat(native.constData(), &link) == 0)
            return Fail(QStringLiteral("It is a symbolic link to a file that does not exist; nothing was written."));
        const QByteArray folder = Native(QFileInfo(path).absolutePath()), base = Native(QFileInfo(path).fileName());
        const QByteArray real = Resolved(folder);
        CDescriptor folderFd(::open(real.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folderFd.Get() < 0 && errno == EACCES)
            folderFd.Reset(::open(real.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (real.isEmpty() || base.isEmpty() || folderFd.Get() < 0)
            return Fail(QStringLiteral("The folder %1 does not exist. %2").arg(Quoted(folder), Unchanged(false)));
        CSaveCopies::RemoveLeftNames(real + '/' + base);
        return Replace(folderFd.Get(), real, base, nullptr, -1, bytes);
    }
    struct stat status
    {
    };
    if (::fstat(fd.Get(), &status) != 0)
        return Fail(SystemErrorText(errno) + QLatin1Char(' ') + Unchanged(true));
    if (!S_ISREG(status.st_mode)) {
        ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
        return WriteThrough(fd.Get(), bytes, " It is not a regular file, so it was written directly.");
    }
    return SaveRegular(fd.Get(), status, native, bytes);
}

bool CFileSaver::WriteThrough(int fd, const QByteArray &bytes, const char *why)
{
    if (!WriteAll(Role::Target, fd, bytes))
        return Fail(m_strCause + QLatin1String(why));
    return true;
}

bool CFileSaver::SaveRegular(int fd, const struct stat &status, const QByteArray &path, const QByteArray &bytes)
{
    const QByteArray file = Resolved(path);
    NoteLeftCopies(file);
    if (status.st_nlink > 1)
        return SaveInPlace(fd, file, bytes, QStringLiteral("it has %1 names (hard links)").arg(status.st_nlink));
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = file.left(qMax<qsizetype>(slash, 1)), base = file.mid(slash + 1);
    CDescriptor folderFd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.Get() < 0 && errno == EACCES)
        folderFd.Reset(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    // Only the file opened is replaced: when its name now leads elsewhere, it is saved where it is.
    struct stat named
    {
    };
    if (file.isEmpty() || folderFd.Get() < 0
        || ::fstatat(folderFd.Get(), base.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0
        || named.st_dev != status.st_dev || named.st_ino != status.st_ino)
        return SaveInPlace(fd, file.isEmpty() ? path : file, bytes, QStringLiteral("its name changed during the save"));
    CSaveCopies::RemoveLeftNames(file);
    return Replace(folderFd.Get(), folder, base, &status, fd, bytes);
}

bool CFileSaver::Replace(int folderFd, const QByteArray &folder, const QByteArray &base, const struct stat *old,
                         int oldFd, const QByteArray &bytes)
{
    const bool exists = old != nullptr;
    const QByteArray file = folder + '/' + base;
    auto refusal = [&](int error) {
        return QStringLiteral("the folder %1 does not allow creating a file (%2)")
            .arg(Quoted(folder), SystemErrorText(error).chopped(1));
    };
    auto inPlace = [&](int error) { return SaveInPlace(oldFd, file, bytes, refusal(error)); };
    auto fail = [&](int error) {
        return Fail(QStringLiteral("The folder %1 does not allow creating a file: %2 %3")
                        .arg(Quoted(folder), SystemErrorText(error), Unchanged(exists)));
    };
    if (Refused(Role::Temporary))
        return exists ? inPlace(EACCES) : fail(EACCES);
    // Unnamed, so that no crash can leave it behind; named where the file
    // system has no unnamed files. 0600 until it has the old file's owner
    // and mode; a new script is made as any new file is.
    const mode_t mode = exists ? 0600 : 0666;
    CDescriptor fd(m_bNamedOnly ? -1 : ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    QByteArray named;
    if (fd.Get() < 0 && (m_bNamedOnly || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        do {
            named = FreshName(base);
            fd.Reset(::openat(folderFd, named.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        } while (fd.Get() < 0 && errno == EEXIST);
        if (fd.Get() < 0)
            named.clear();
    }
    if (fd.Get() < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM || error == EROFS))
            return inPlace(error);
        return fail(error);
    }
    struct stat made
    {
    };
    ::fstat(fd.Get(), &made);
    QString record = named.isEmpty() ? QString() : CSaveCopies::RecordName(file, folder + '/' + named, made);
    auto drop = [&] {
        if (!named.isEmpty())
            ::unlinkat(folderFd, named.constData(), 0);
        if (!record.isEmpty())
            CSaveCopies::Forget(record);
    };
    auto abandon = [&](const QString &cause) {
        drop();
        return Fail(cause + QLatin1Char(' ') + Unchanged(exists));
    };
    // Everything of the old file before any byte is written, and again after
    // the bytes, which may take a set-ID bit or a capability away.
    if (exists) {
        const QString reason = CarryOver(oldFd, *old, fd.Get());
        if (!reason.isEmpty())
            return drop(), SaveInPlace(oldFd, file, bytes, reason);
    }
    if (bytes.size() > 0 && ::posix_fallocate(fd.Get(), 0, off_t(bytes.size())) == ENOSPC)
        return abandon(
            QStringLiteral("There is no room for %1 bytes: %2").arg(bytes.size()).arg(SystemErrorText(ENOSPC)));
    if (!WriteAll(Role::Temporary, fd.Get(), bytes))
        return abandon(m_strCause);
    if (exists) {
        const QString reason = CarryOver(oldFd, *old, fd.Get());
        if (!reason.isEmpty())
            return drop(), SaveInPlace(oldFd, file, bytes, reason);
    }
    if (::fsync(fd.Get()) != 0)
        return abandon(SystemErrorText(errno));
    if (named.isEmpty()) {
        // Named only now, for the moment of the rename, and recorded first.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd.Get());
        int linked = -1;
        do {
            named = FreshName(base);
            record = CSaveCopies::RecordName(file, folder + '/' + named, made);
            linked = ::linkat(AT_FDCWD, self.constData(), folderFd, named.constData(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && !record.isEmpty())
                CSaveCopies::Forget(record);
        } while (linked != 0 && errno == EEXIST);
        if (linked != 0) {
            const QString cause = SystemErrorText(errno);
            named.clear();
            record.clear();
            return abandon(cause);
        }
    }
    if (::renameat(folderFd, named.constData(), folderFd, base.constData()) != 0)
        return abandon(SystemErrorText(errno));
    if (!record.isEmpty())
        CSaveCopies::Forget(record);
    ::fsync(folderFd);
    return true;
}

bool CFileSaver::SaveInPlace(int fd, const QByteArray &path, const QByteArray &bytes, const QString &reason)
{
    // The old bytes of the very file opened.
    QByteArray old;
    QString cause;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0
        || !ReadFileBytes(QStringLiteral("/proc/self/fd/%1").arg(fd), qint64(1) << 40, old, cause))
        return Fail(QStringLiteral("It is saved in place, since %1, but its old text cannot be read to be kept: %2 %3")
                        .arg(reason, cause.isEmpty() ? SystemErrorText(errno) : cause, Unchanged(true)));

    // The copy of the old bytes comes first: without it nothing is written.
    CSaveCopies::Copy copy;
    auto noCopy = [&](const QString &why) {
        return Fail(QStringLiteral("It is saved in place, since %1, and no copy of the old script could be made in "
                                   "%2: %3 Nothing was written; %4")
                        .arg(reason, Quoted(Native(CSaveCopies::Folder())), why, Unchanged(true).toLower()));
    };
    int copyFdNumber = -1;
    if (Refused(Role::Copy))
        return noCopy(SystemErrorText(EACCES));
    if (!CSaveCopies::StartCopy(path, status, old, bytes, copy, copyFdNumber, cause))
        return noCopy(cause);
    CDescriptor copyFd(copyFdNumber);
    m_strCause.clear();
    if (!WriteAll(Role::Copy, copyFd.Get(), old) || ::fsync(copyFd.Get()) != 0) {
        const QString why = m_strCause.isEmpty() ? SystemErrorText(errno) : m_strCause;
        CSaveCopies::Remove(copy);
        return noCopy(why);
    }
    copyFd.Reset();
    SyncFolder(Native(CSaveCopies::Folder())); // the copy is on disk before the file changes

    auto putBack = [&](const QString &why) {
        if (PutBack(fd, old)) {
            CSaveCopies::Remove(copy);
            return Fail(why + QLatin1Char(' ') + Unchanged(true));
        }
        return Fail(why
                    + QStringLiteral(" The old script could not be put back; a copy of it is in %1.")
                          .arg(Quoted(Native(copy.path))));
    };
    // Room first, so that a full disk stops the save before a byte is changed.
    if (bytes.size() > old.size()) {
        const int error = ::posix_fallocate(fd, 0, off_t(bytes.size()));
        if (error != 0)
            return putBack(
                QStringLiteral("There is no room for %1 bytes: %2").arg(bytes.size()).arg(SystemErrorText(error)));
    }
    m_strCause.clear();
    if (!WriteAll(Role::Target, fd, bytes))
        return putBack(m_strCause);
    // Shortened only now that every new byte is there.
    if (bytes.size() < old.size() && ::ftruncate(fd, off_t(bytes.size())) != 0)
        return putBack(SystemErrorText(errno));
    if (::fsync(fd) != 0)
        return putBack(SystemErrorText(errno));
    CSaveCopies::Remove(copy);
    return true;
}
