#include "framework/FileBytes.h"

#include "framework/FileName.h"

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
    return size >= 0
               ? QStringLiteral("The file is %1 bytes long; files of %2 or more cannot be read.").arg(size).arg(from)
               : QStringLiteral("It holds %1 or more; files that long cannot be read.").arg(from);
}

} // namespace

QString SystemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

bool ReadFileInto(const QString &path, qint64 limit, IFileReadTarget &target, QString &cause)
{
    const std::optional<QByteArray> name = FileNameBytes(path);
    const int fd = name ? ::open(name->constData(), O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0) {
        cause = name ? SystemErrorText(errno) : UnusableNameText();
        return false;
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status
    {
    };
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
    target.Expect(expected);
    qint64 got = 0;
    for (;;) {
        qsizetype room = 0;
        char *into = target.Room(room);
        const ssize_t n = ::read(fd, into, size_t(room));
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
            return false;
        }
        target.Filled(n);
        got += n;
    }
    if (expected >= 0 && got < expected) {
        cause = QStringLiteral("Only %1 of its %2 bytes could be read.").arg(got).arg(expected);
        return false;
    }
    return true;
}

namespace {

// The whole file in one array, sized by what the file says it holds.
class ByteArrayTarget final : public IFileReadTarget
{
public:
    ByteArrayTarget(QByteArray &bytes, qint64 limit) : m_bytes(bytes), m_limit(limit) {}

    void Expect(qint64 size) override { m_bytes.resize(size >= 0 ? qsizetype(size) : kFirstChunk); }

    char *Room(qsizetype &room) override
    {
        // Full: a regular file usually ends here, so look with a small read
        // before growing the array.
        m_probing = m_got == m_bytes.size();
        room = m_probing ? qsizetype(sizeof m_probe) : m_bytes.size() - m_got;
        return m_probing ? m_probe : m_bytes.data() + m_got;
    }

    void Filled(qsizetype count) override
    {
        if (m_probing) {
            m_bytes.resize(qsizetype(qMin<qint64>(qMax<qint64>(2 * m_bytes.size(), kFirstChunk), m_limit)));
            std::memcpy(m_bytes.data() + m_got, m_probe, size_t(count));
        }
        m_got += count;
    }

    qsizetype Got() const { return m_got; }

private:
    QByteArray &m_bytes;
    qint64 m_limit;
    qsizetype m_got = 0;
    bool m_probing = false;
    char m_probe[4096];
};

} // namespace

bool ReadFileBytes(const QString &path, qint64 limit, QByteArray &bytes, QString &cause)
{
    bytes.clear();
    ByteArrayTarget target(bytes, limit);
    if (!ReadFileInto(path, limit, target, cause)) {
        bytes.clear();
        return false;
    }
    bytes.truncate(target.Got());
    return true;
}
