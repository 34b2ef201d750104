#include "TestFiles.h"

#include "framework/FileBytes.h"
#include "framework/FileName.h"

#include <QFile>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

QByteArray ReadAll(const QString &path)
{
    QByteArray bytes;
    QString cause;
    return ReadFileBytes(path, qint64(1) << 32, bytes, cause) ? bytes : QByteArray("<unreadable>");
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    const std::optional<QByteArray> name = FileNameBytes(path);
    const int fd = name ? ::open(name->constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    return file.write(bytes) == bytes.size() && file.flush();
}

QByteArray Utf16WithBom(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

bool OneLineHolding(const QStringList &lines, const QStringList &parts)
{
    return lines.size() == (parts.isEmpty() ? 0 : 1)
           && std::all_of(parts.begin(), parts.end(), [&](const QString &part) { return lines[0].contains(part); });
}

TemporaryFolder::~TemporaryFolder()
{
    DIR *dir = ::opendir(QFile::encodeName(path()).constData());
    while (const dirent *entry = dir ? ::readdir(dir) : nullptr)
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    if (dir)
        ::closedir(dir);
}

QString TemporaryFolder::Write(const QByteArray &bytes, const QString &name)
{
    const QString path = filePath(name.isEmpty() ? QStringLiteral("script%1.mbs").arg(++m_count) : name);
    return WriteAll(path, bytes) ? path : QString();
}
