#include "app/RecoveryFile.h"

#include "framework/FileBytes.h"
#include "framework/FileName.h"
#include "framework/FileSaver.h"

#include <QCryptographicHash>

#include <algorithm>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QByteArrayView kFirstLine = "Marrowpad recovery file 1\n";
constexpr qint64 kMostBytes = qint64(1) << 31;

QByteArray Native(const QString &path)
{
    return FileNameBytes(path).value_or(QByteArray());
}

QString HomeFolder()
{
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return FileNameFromBytes(home);
    const passwd *entry = ::getpwuid(::geteuid());
    return entry && entry->pw_dir && entry->pw_dir[0] == '/' ? FileNameFromBytes(entry->pw_dir) : QString();
}

// Makes `folder` and the folders above it that are missing, each 0700, and
// makes sure the last one is a folder of this user's that no one else enters.
bool MakeFolder(const QString &folder, QString &cause)
{
    const QByteArray native = Native(folder);
    for (qsizetype from = 1;;) {
        const qsizetype slash = native.indexOf('/', from);
        const QByteArray part = slash < 0 ? native : native.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
            cause =
                QStringLiteral("The folder %1 cannot be made: %2").arg(FileNameFromBytes(part), SystemErrorText(errno));
            return false;
        }
        if (slash < 0)
            break;
        from = slash + 1;
    }
    struct stat st
    {
    };
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        cause = QStringLiteral("%1 is not a folder.").arg(folder);
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        cause = QStringLiteral("The folder %1 belongs to another user.").arg(folder);
        return false;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        cause = QStringLiteral("The folder %1 cannot be closed to other users: %2").arg(folder, SystemErrorText(errno));
        return false;
    }
    return true;
}

// The start of a script's slot names: its file name (characters that are
// awkward in a file name replaced) and a hash of its full path.
QString SlotName(const QByteArray &fullPath)
{
    if (fullPath.isEmpty())
        return QStringLiteral("new-script");
    QByteArray name = fullPath.mid(fullPath.lastIndexOf('/') + 1).left(40);
    for (char &c : name)
        if (!(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9') && c != '.' && c != '_'
            && c != '-')
            c = '_';
    const QByteArray hash = QCryptographicHash::hash(fullPath, QCryptographicHash::Sha256).left(8).toHex();
    return QString::fromLatin1(name + '-' + hash);
}

bool Exists(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(Native(path).constData(), &st) == 0;
}

} // namespace

CRecoveryFile::~CRecoveryFile()
{
    // Removed while still locked, so an editor that opened it meanwhile sees
    // that its lock names no file and tries again.
    ::unlink(Native(m_strStem + QStringLiteral(".lock")).constData());
    ::close(m_nLockFd);
}

QByteArray CRecoveryFile::Format(const RecoveryContents &contents)
{
    QByteArray bytes;
    bytes.reserve(contents.script.size() + 200);
    bytes += kFirstLine;
    bytes += "Script: " + contents.scriptPath.toPercentEncoding("/") + '\n';
    bytes += "Written: " + contents.written.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    bytes += "Length: " + QByteArray::number(contents.script.size()) + "\n\n";
    bytes += contents.script;
    return bytes;
}

std::optional<RecoveryContents> CRecoveryFile::Parse(const QByteArray &bytes)
{
    if (!bytes.startsWith(kFirstLine))
        return std::nullopt;
    RecoveryContents contents;
    bool hasPath = false;
    qsizetype length = -1;
    qsizetype at = kFirstLine.size();
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return std::nullopt;
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        if (line.isEmpty())
            break;
        const qsizetype colon = line.indexOf(": ");
        const QByteArray key = line.left(colon), value = colon < 0 ? QByteArray() : line.mid(colon + 2);
        if (key == "Script") {
            contents.scriptPath = QByteArray::fromPercentEncoding(value);
            hasPath = true;
        } else if (key == "Written") {
            contents.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs).toUTC();
        } else if (key == "Length") {
            bool ok = false;
            length = value.toLongLong(&ok);
            if (!ok)
                return std::nullopt;
        }
    }
    // A file cut short (or grown) is no record of the edits.
    if (!hasPath || !contents.written.isValid() || length != bytes.size() - at)
        return std::nullopt;
    contents.script = bytes.mid(at);
    return contents;
}

QString CRecoveryFile::Folder()
{
    // The XDG base-directory convention: a relative path is ignored.
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    QString base = state.startsWith('/') ? FileNameFromBytes(state) : QString();
    if (base.isEmpty()) {
        const QString home = HomeFolder();
        if (home.isEmpty())
            return QString();
        base = home + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/marrowpad");
}

QByteArray CRecoveryFile::FullPath(const QByteArray &path)
{
    if (path.isEmpty())
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved))
        return QByteArray(resolved);
    // A script not made yet: its folder resolved, its name as given.
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const QByteArray name = path.mid(slash + 1);
    if (::realpath(folder.constData(), resolved))
        return QByteArray(resolved) + (resolved[1] ? "/" : "") + name;
    if (path.startsWith('/'))
        return path;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? QByteArray(cwd) + '/' + path : path;
}

std::unique_ptr<CRecoveryFile> CRecoveryFile::Lock(const QString &stem, QString &cause)
{
    const QByteArray lockPath = Native(stem + QStringLiteral(".lock"));
    // The holder before removes its lock file when it lets go: a lock on a
    // file that no longer has this name is tried again on the new file.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            cause = QStringLiteral("The file %1 cannot be made: %2")
                        .arg(FileNameFromBytes(lockPath), SystemErrorText(errno));
            return nullptr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return nullptr;
        }
        struct stat held
        {
        }, named{};
        if (::fstat(fd, &held) == 0 && ::lstat(lockPath.constData(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino)
            return std::unique_ptr<CRecoveryFile>(new CRecoveryFile(stem, fd));
        ::close(fd);
    }
    return nullptr;
}

CRecoveryFile::Claim CRecoveryFile::ClaimSlots(const QByteArray &fullPath, bool takeOwn)
{
    Claim claim;
    const QString folder = Folder();
    if (folder.isEmpty()) {
        claim.cause = QStringLiteral("There is no home folder.");
        return claim;
    }
    if (!takeOwn && !Exists(folder))
        return claim;
    if (!MakeFolder(folder, claim.cause))
        return claim;
    const QString base = folder + u'/' + SlotName(fullPath) + u'-';
    for (int slot = 1; slot <= kSlots; ++slot) {
        const QString stem = base + QString::number(slot);
        const bool hasFile = Exists(stem + QStringLiteral(".recovery"));
        if (!hasFile && (claim.own || !takeOwn))
            continue;
        std::unique_ptr<CRecoveryFile> file = Lock(stem, claim.cause);
        if (!file)
            continue; // another editor's
        if (hasFile) {
            QByteArray bytes;
            QString unread;
            std::optional<RecoveryContents> contents;
            if (ReadFileBytes(file->Path(), kMostBytes, bytes, unread))
                contents = Parse(bytes);
            if (contents && contents->scriptPath == fullPath) {
                claim.left.push_back({std::move(file), std::move(*contents)});
                continue;
            }
            if (contents)
                continue; // another script's whose name hashes alike: never overwritten
        }
        if (takeOwn && !claim.own)
            claim.own = std::move(file);
    }
    if (claim.own || !takeOwn)
        claim.cause.clear();
    else if (claim.cause.isEmpty())
        claim.cause = QStringLiteral("%1 editors keep edits of this script already.").arg(kSlots);
    std::stable_sort(claim.left.begin(), claim.left.end(),
                     [](const Left &a, const Left &b) { return a.contents.written > b.contents.written; });
    return claim;
}

QString CRecoveryFile::Path() const
{
    return m_strStem + QStringLiteral(".recovery");
}

bool CRecoveryFile::Write(const RecoveryContents &contents, QString &cause) const
{
    // The saver keeps the mode of the file it replaces: it is made 0600 first.
    const QByteArray path = Native(Path());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        cause = QStringLiteral("The file %1 cannot be made: %2").arg(Path(), SystemErrorText(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    CFileSaver saver;
    if (saver.Save(Path(), Format(contents)))
        return true;
    cause = QStringLiteral("The file %1 cannot be written. %2").arg(Path(), saver.Cause());
    return false;
}

void CRecoveryFile::Remove() const
{
    ::unlink(Native(Path()).constData());
}
