#pragma once
// Comma-separated values as RFC 4180 writes them: a field holding a comma, a
// double quote, a line break or an edge space is quoted, its quotes doubled;
// each record ends with CR LF. The text is UTF-8, each byte escape
// (LosslessUtf8.h) written as the byte it stands for.

#include <QByteArray>
#include <QStringList>

class CCsvWriter
{
public:
    void AddRecord(const QStringList &fields);
    const QByteArray &Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
