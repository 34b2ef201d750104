#pragma once
// Helpers the script tests share: scripts written to a temporary folder.

#include "framework/FileName.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

// A temporary folder that also removes the files in it whose names are not
// UTF-8, which the toolkit cannot name.
struct TemporaryFolder : QTemporaryDir
{
    ~TemporaryFolder()
    {
        DIR *dir = ::opendir(QFile::encodeName(path()).constData());
        while (const dirent *entry = dir ? ::readdir(dir) : nullptr)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        dir && ::closedir(dir);
    }
};

class ScriptFixture
{
public:
    // Writes `bytes` to a new file in the fixture's folder; returns its path.
    // The name may hold bytes that are not UTF-8 (FileName.h).
    QString Write(const QByteArray &bytes, const QString &name = QString())
    {
        const QString path = m_dir.filePath(name.isEmpty() ? QStringLiteral("script%1.mbs").arg(++m_count) : name);
        const int fd = ::open(FileNameBytes(path).value_or(QByteArray()).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        QFile file;
        if (fd < 0 || !file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
            return QString();
        file.write(bytes);
        return path;
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }

private:
    TemporaryFolder m_dir;
    int m_count = 0;
};

// The UTF-16LE bytes of `text`, after a byte-order mark.
inline QByteArray Utf16WithBom(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}
