#pragma once
// Helpers the script tests share: scripts written to a temporary folder, and what a reader made of them.

#include "framework/FileName.h"
#include "script/ScriptFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>

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

// Whether `lines` is one line holding every one of `parts`, or none when there are no parts.
inline bool OneLineHolding(const QStringList &lines, const QStringList &parts)
{
    return lines.size() == (parts.isEmpty() ? 0 : 1)
        && std::all_of(parts.begin(), parts.end(), [&](const QString &part) { return lines[0].contains(part); });
}

// One line per item: "pre:" preamble lines, "[name]" headers (with "+rest" when text followed
// the ']'), " line" stored lines, " ~text@n" loose lines (n: the stored lines before it) and
// " @line" kept "@=" lines. Control characters show as \r and \t.
inline QString Describe(const CScriptFile &file)
{
    QStringList out;
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i)
        out << QStringLiteral("pre:") + file.GetPreambleLine(i).toString();
    for (const auto &section : file.Sections()) {
        out << QLatin1Char('[') + section->m_strName + QLatin1Char(']')
                + (section->m_strHeaderRest.isEmpty() ? QString() : QLatin1Char('+') + section->m_strHeaderRest);
        qsizetype loose = 0;
        for (qsizetype i = 0; i <= section->GetCount(); ++i) {
            for (; loose < section->GetLooseCount() && section->GetLooseLine(loose).nBefore == i; ++loose)
                out << QStringLiteral(" ~%1@%2").arg(section->GetLooseLine(loose).text).arg(i);
            if (i < section->GetCount())
                out << QLatin1Char(' ') + section->GetLine(i).toString();
        }
        for (const QString &at : section->m_arrAtLines)
            out << QStringLiteral(" @") + at;
    }
    return out.join(QLatin1Char('|')).replace(u'\r', QStringLiteral("\\r")).replace(u'\t', QStringLiteral("\\t"));
}
