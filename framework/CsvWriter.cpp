#include "framework/CsvWriter.h"

#include "framework/LosslessUtf8.h"

namespace {

bool NeedsQuotes(const QString &field)
{
    for (const QChar c : field)
        if (c == u',' || c == u'"' || c == u'\n' || c == u'\r')
            return true;
    return !field.isEmpty() && (field.front() == u' ' || field.back() == u' ');
}

} // namespace

void CCsvWriter::AddRecord(const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_bytes += ',';
        const QString &field = fields[i];
        if (!NeedsQuotes(field)) {
            m_bytes += EncodeUtf8Lossless(field);
            continue;
        }
        QString quoted = field;
        quoted.replace(u'"', QStringLiteral("\"\""));
        m_bytes += '"' + EncodeUtf8Lossless(quoted) + '"';
    }
    m_bytes += "\r\n";
}
