#include "script/Section.h"

#include "script/WideNumbers.h"

CSection::CSection(const QString &name) : m_strName(name) {}

CSection::~CSection() = default;

QStringView CSection::GetLine(qsizetype index) const
{
    return View(m_pLines[index]);
}

CSection::LooseLine CSection::GetLooseLine(qsizetype index) const
{
    const auto &loose = m_looseLines[size_t(index)];
    return {loose.first, View(loose.second)};
}

qsizetype CSection::FindLine(QStringView key) const
{
    const qsizetype keyLength = key.size();
    // Most lines are told apart by their first letter, folded when it is ASCII.
    const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    const char16_t first = keyLength > 0 ? fold(key[0].unicode()) : 0;
    const bool asciiFirst = keyLength > 0 && first < 0x80;
    const char16_t *text = reinterpret_cast<const char16_t *>(m_strText.constData());
    for (qsizetype i = 0; i < m_nLines; ++i) {
        const Span span = m_pLines[i];
        if (span.length <= keyLength)
            continue;
        const char16_t *line = text + span.offset;
        if (line[keyLength] != u'=')
            continue;
        if (asciiFirst && line[0] < 0x80 && fold(line[0]) != first)
            continue;
        if (QStringView(line, keyLength).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringView CSection::ValueOfLine(qsizetype index) const
{
    const QStringView line = GetLine(index);
    return line.mid(line.indexOf(u'=') + 1);
}

bool CSection::GetString(QStringView key, QString &value, qsizetype *lineIndex) const
{
    const qsizetype index = FindLine(key);
    if (lineIndex)
        *lineIndex = index;
    if (index < 0)
        return false;
    value = ValueOfLine(index).toString();
    return true;
}

bool CSection::GetInt(QStringView key, qint32 &value, qsizetype *lineIndex) const
{
    const qsizetype index = FindLine(key);
    if (lineIndex)
        *lineIndex = index;
    if (index < 0)
        return false;
    value = WideToInt32(ValueOfLine(index));
    return true;
}

bool CSection::GetInt(QStringView key, quint32 &value, qsizetype *lineIndex) const
{
    qint32 signedValue = 0;
    if (!GetInt(key, signedValue, lineIndex))
        return false;
    value = quint32(signedValue);
    return true;
}

bool CSection::GetInt64(QStringView key, qint64 &value, qsizetype *lineIndex) const
{
    const qsizetype index = FindLine(key);
    if (lineIndex)
        *lineIndex = index;
    if (index < 0)
        return false;
    value = WideToInt64(ValueOfLine(index));
    return true;
}
