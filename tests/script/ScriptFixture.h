#pragma once
// Helpers the script tests share: scripts written to a temporary folder.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class ScriptFixture
{
public:
    // Writes `bytes` to a new file in the fixture's folder; returns its path.
    QString Write(const QByteArray &bytes, const QString &name = QString())
    {
        const QString path = m_dir.filePath(name.isEmpty() ? QStringLiteral("script%1.mbs").arg(++m_count) : name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(bytes);
        return path;
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};

// The UTF-16LE bytes of `text`, after a byte-order mark.
inline QByteArray Utf16WithBom(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}
