#include "framework/SaveCopies.h"

#include "framework/FileBytes.h"
#include "framework/FileSaver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString &path)
{
    return CFileSaver::Native(path);
}

QByteArray Digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// What a record says: whose copy or name it is, and how to know that file.
struct Record
{
    QByteArray kind; // "copy" or "name"
    QByteArray file; // the file saved
    QByteArray path; // the copy or the name
    quint64 device = 0, inode = 0;
    qint64 oldSize = -1, newSize = -1;
    QByteArray oldDigest, newDigest;
};

QByteArray Text(const Record &r)
{
    QByteArray text = "kind " + r.kind + "\nfile " + r.file.toPercentEncoding() + "\npath " + r.path.toPercentEncoding()
                      + "\ndevice " + QByteArray::number(r.device) + "\ninode " + QByteArray::number(r.inode) + '\n';
    if (r.kind == "copy")
        text += "old " + QByteArray::number(r.oldSize) + ' ' + r.oldDigest + "\nnew " + QByteArray::number(r.newSize)
                + ' ' + r.newDigest + '\n';
    return text;
}

bool Parse(const QByteArray &text, Record &r)
{
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        const QByteArray &key = words.first();
        if (words.size() == 2 && key == "kind")
            r.kind = words[1];
        else if (words.size() == 2 && key == "file")
            r.file = QByteArray::fromPercentEncoding(words[1]);
        else if (words.size() == 2 && key == "path")
            r.path = QByteArray::fromPercentEncoding(words[1]);
        else if (words.size() == 2 && key == "device")
            r.device = words[1].toULongLong();
        else if (words.size() == 2 && key == "inode")
            r.inode = words[1].toULongLong();
        else if (words.size() == 3 && key == "old")
            r.oldSize = words[1].toLongLong(), r.oldDigest = words[2];
        else if (words.size() == 3 && key == "new")
            r.newSize = words[1].toLongLong(), r.newDigest = words[2];
    }
    return (r.kind == "name" || (r.kind == "copy" && r.oldSize >= 0 && r.newSize >= 0)) && !r.file.isEmpty()
           && !r.path.isEmpty();
}

// The records of saves still running, each open and locked until the save
// ends: a killed save leaves its record unlocked.
QHash<QString, int> &Held()
{
    static QHash<QString, int> held;
    return held;
}

// Whether the save that made the record at `path` is still running.
bool Running(const QString &path)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool locked = fd >= 0 && ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (fd >= 0)
        ::close(fd);
    return locked;
}

bool SameFile(const struct stat &status, const Record &r)
{
    return quint64(status.st_dev) == r.device && quint64(status.st_ino) == r.inode;
}

QString FreshId()
{
    return QString::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFull, 36);
}

void SyncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The folder for copies and records, made 0700 when it is missing.
bool MakeFolder(QString &cause)
{
    const QString folder = CSaveCopies::Folder();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    if (::mkdir(Native(folder).constData(), 0700) != 0 && errno != EEXIST) {
        cause = SystemErrorText(errno);
        return false;
    }
    return true;
}

// Writes a new record; its path, empty when it cannot be made.
QString Write(const Record &r, bool durable)
{
    QString cause;
    if (!MakeFolder(cause))
        return QString();
    const QString path = CSaveCopies::Folder() + QLatin1Char('/') + FreshId() + QStringLiteral(".record");
    const int fd = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return QString();
    const QByteArray text = Text(r);
    if (::flock(fd, LOCK_EX) != 0 || ::write(fd, text.constData(), size_t(text.size())) != text.size()
        || (durable && ::fsync(fd) != 0)) {
        ::unlink(Native(path).constData());
        ::close(fd);
        return QString();
    }
    Held().insert(path, fd);
    if (durable)
        SyncFolder(Native(CSaveCopies::Folder()));
    return path;
}

// Calls `visit` with each readable record of the saves of `file`.
template <typename Visit>
void EachRecord(const QByteArray &file, Visit visit)
{
    const QString folder = CSaveCopies::Folder();
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.record")}, QDir::Files | QDir::Hidden)) {
        const QString path = folder + QLatin1Char('/') + name;
        QByteArray text;
        QString cause;
        Record r;
        if (ReadFileBytes(path, 1 << 16, text, cause) && Parse(text, r) && r.file == file && !Running(path))
            visit(path, r);
    }
}

// Whether the file at `path` (`status`) holds `size` bytes whose digest is `digest`.
bool Holds(const QByteArray &path, const struct stat &status, qint64 size, const QByteArray &digest)
{
    if (qint64(status.st_size) != size)
        return false;
    QByteArray bytes;
    QString cause;
    return ReadFileBytes(CFileSaver::PathText(path), qint64(1) << 40, bytes, cause) && Digest(bytes) == digest;
}

QByteArray Resolved(const QByteArray &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : path;
}

} // namespace

QString CSaveCopies::Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/marrowpad");
}

QList<CSaveCopies::Copy> CSaveCopies::LeftFor(const QByteArray &file)
{
    QList<Copy> left;
    struct stat now
    {
    };
    if (::stat(file.constData(), &now) != 0)
        return left;
    EachRecord(file, [&](const QString &record, const Record &r) {
        struct stat copyStatus
        {
        };
        if (r.kind != "copy" || !SameFile(now, r))
            return;
        const QString copy = CFileSaver::PathText(r.path);
        if (Holds(file, now, r.oldSize, r.oldDigest) || Holds(file, now, r.newSize, r.newDigest)
            || ::stat(r.path.constData(), &copyStatus) != 0 || !Holds(r.path, copyStatus, r.oldSize, r.oldDigest)) {
            Forget(record, copy); // whole again, or a copy never finished (its file was not touched)
            return;
        }
        left.append(
            {copy, record, qint64(copyStatus.st_size),
             QDateTime::fromMSecsSinceEpoch(copyStatus.st_mtim.tv_sec * 1000 + copyStatus.st_mtim.tv_nsec / 1000000)});
    });
    return left;
}

QList<CSaveCopies::Copy> CSaveCopies::LeftFor(const QString &path)
{
    return LeftFor(Resolved(Native(path)));
}

void CSaveCopies::Remove(const Copy &copy)
{
    Forget(copy.record, copy.path);
}

void CSaveCopies::RemoveLeftNames(const QByteArray &file)
{
    EachRecord(file, [&](const QString &record, const Record &r) {
        struct stat status
        {
        };
        if (r.kind != "name")
            return;
        if (::lstat(r.path.constData(), &status) == 0 && S_ISREG(status.st_mode) && SameFile(status, r))
            ::unlink(r.path.constData());
        Forget(record);
    });
}

QString CSaveCopies::RecordName(const QByteArray &file, const QByteArray &name, const struct stat &made)
{
    Record r;
    r.kind = "name";
    r.file = file;
    r.path = name;
    r.device = made.st_dev;
    r.inode = made.st_ino;
    return Write(r, false);
}

bool CSaveCopies::StartCopy(const QByteArray &file, const struct stat &guarded, const QByteArray &oldBytes,
                            const QByteArray &newBytes, Copy &copy, int &fd, QString &cause)
{
    if (!MakeFolder(cause))
        return false;
    copy.path = Folder() + QLatin1Char('/') + QFileInfo(CFileSaver::PathText(file)).fileName() + QLatin1Char('.')
                + FreshId() + QStringLiteral(".old");
    Record r;
    r.kind = "copy";
    r.file = file;
    r.path = Native(copy.path);
    r.device = guarded.st_dev;
    r.inode = guarded.st_ino;
    r.oldSize = oldBytes.size();
    r.oldDigest = Digest(oldBytes);
    r.newSize = newBytes.size();
    r.newDigest = Digest(newBytes);
    // The record first: a copy without one could never be found again.
    copy.record = Write(r, true);
    if (copy.record.isEmpty()) {
        cause = QStringLiteral("Its record cannot be written.");
        return false;
    }
    fd = ::open(r.path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        cause = SystemErrorText(errno);
        Forget(copy.record);
        return false;
    }
    copy.size = oldBytes.size();
    return true;
}

void CSaveCopies::Forget(const QString &record, const QString &copy)
{
    if (!copy.isEmpty())
        ::unlink(Native(copy).constData());
    ::unlink(Native(record).constData());
    const auto held = Held().constFind(record);
    if (held != Held().cend()) {
        ::close(*held);
        Held().erase(held);
    }
}
