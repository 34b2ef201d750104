#include "framework/FileBytes.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kFirstChunk = 64 * 1024;

// Why a file over `limit` bytes is refused; `size` is -1 when the file does not say.
QString TooLarge(qint64 size, qint64 limit)
{
    const qint64 refused = limit + 1;
    const QString from = refused % (qint64(1) << 30) == 0 ? QStringLiteral("%1 GiB").arg(refused >> 30)
                                                          : QStringLiteral("%1 bytes").arg(refused);
    return size >= 0 ? QStringLiteral("The file is %1 bytes long; files of %2 or more cannot be read.").arg(size).arg(from)
                     : QStringLiteral("It holds %1 or more; files that long cannot be read.").arg(from);
}

} // namespace

QString SystemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

bool ReadFileBytes(const QString &path, qint64 limit, QByteArray &bytes, QString &cause)
{
    bytes.clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        cause = SystemErrorText(errno);
        return false;
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        cause = SystemErrorText(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        cause = QStringLiteral("It is a folder, not a file.");
        return false;
    }
    // A regular file says how long it is; other files are read until they end.
    const qint64 expected = S_ISREG(status.st_mode) ? qint64(status.st_size) : -1;
    if (expected > limit) {
        cause = TooLarge(expected, limit);
        return false;
    }
    bytes.resize(expected >= 0 ? qsizetype(expected) : kFirstChunk);
    qsizetype got = 0;
    char probe[4096];
    for (;;) {
        char *into = bytes.data() + got;
        size_t room = size_t(bytes.size() - got);
        if (room == 0) {
            // Full: a regular file usually ends here, so look with a small
            // read before growing the buffer.
            into = probe;
            room = sizeof probe;
        }
        const ssize_t n = ::read(fd, into, room);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            cause = SystemErrorText(errno);
            return false;
        }
        if (n == 0)
            break;
        if (got + n > limit) {
            cause = TooLarge(-1, limit);
            bytes.clear();
            return false;
        }
        if (into == probe) {
            bytes.resize(qMin<qint64>(qMax<qint64>(2 * bytes.size(), kFirstChunk), limit));
            std::memcpy(bytes.data() + got, probe, size_t(n));
        }
        got += n;
    }
    if (expected >= 0 && got < expected) {
        cause = QStringLiteral("Only %1 of its %2 bytes could be read.").arg(got).arg(expected);
        bytes.clear();
        return false;
    }
    bytes.truncate(got);
    return true;
}
