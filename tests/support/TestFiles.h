#pragma once
// Files the tests write and read back, by names that need not be UTF-8
// (FileName.h), and the bytes of scripts and messages they check.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The whole file at `path`, or "<unreadable>" (which no test writes) when it
// cannot be read.
QByteArray ReadAll(const QString &path);

// Writes `bytes` as the whole file at `path`, made 0644 when new; whether
// every byte was written.
bool WriteAll(const QString &path, const QByteArray &bytes);

// The UTF-16LE bytes of `text`, after a byte-order mark.
QByteArray Utf16WithBom(const QString &text);

// Whether `lines` is one line holding every one of `parts`, or none when
// there are no parts.
bool OneLineHolding(const QStringList &lines, const QStringList &parts);

// A temporary folder that also removes the files in it whose names are not
// UTF-8, which the toolkit cannot name.
class TemporaryFolder : public QTemporaryDir
{
public:
    ~TemporaryFolder();

    // Writes `bytes` as the file `name` in the folder (script1.mbs,
    // script2.mbs, ... when empty); its path, or empty when it failed.
    QString Write(const QByteArray &bytes, const QString &name = QString());

private:
    int m_count = 0;
};
