#include "script/find/TextFinder.h"

namespace {

// Where one part of a path ends: a separator (normalized to `\`), a `;`
// between paths, or a control character (the index's entry and field ends).
bool IsPartEnd(QChar c)
{
    return c == u'\\' || c == u';' || c.unicode() < 0x20;
}

} // namespace

CTextFinder::CTextFinder(const QString &needle, CTextFindOptions options)
    : m_strNeedle(Normalized(needle, options.m_bMatchCase))
    , m_options(options)
    , m_matcher(m_strNeedle, Qt::CaseSensitive)
{
}

QString CTextFinder::Normalized(QStringView text, bool matchCase)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *to = out.data();
    for (const QChar c : text) {
        if (c == u'/')
            *to++ = u'\\';
        else if (matchCase || c.unicode() < 0x41)
            *to++ = c;
        else if (c.unicode() < 0x80)
            *to++ = (c.unicode() <= u'Z') ? QChar(c.unicode() + 0x20) : c;
        else // one UTF-16 unit to one: the length stays
            *to++ = QChar(QChar::toCaseFolded(c.unicode()));
    }
    return out;
}

bool CTextFinder::IsWholePart(QStringView normalized, qsizetype at) const
{
    const qsizetype end = at + m_strNeedle.size();
    const bool startOk = at == 0 || IsPartEnd(normalized[at - 1]) || IsPartEnd(m_strNeedle.front());
    const bool endOk = end == normalized.size() || IsPartEnd(normalized[end]) || IsPartEnd(m_strNeedle.back());
    return startOk && endOk;
}

qsizetype CTextFinder::IndexInNormalized(QStringView normalized, qsizetype from) const
{
    if (m_strNeedle.isEmpty())
        return -1;
    // One character is found faster without the matcher's tables.
    const auto next = [&](qsizetype at) {
        return m_strNeedle.size() == 1 ? normalized.indexOf(m_strNeedle.front(), at)
                                       : m_matcher.indexIn(normalized, at);
    };
    for (qsizetype at = next(from); at >= 0; at = next(at + 1))
        if (!m_options.m_bWholePathParts || IsWholePart(normalized, at))
            return at;
    return -1;
}

QString CTextFinder::Replaced(QStringView text, const QString &replacement, int *count) const
{
    const QString normalized = Normalized(text);
    QString out;
    int found = 0;
    qsizetype done = 0;
    for (qsizetype at = IndexInNormalized(normalized); at >= 0;
         at = IndexInNormalized(normalized, at + m_strNeedle.size())) {
        out += text.mid(done, at - done);
        out += replacement;
        done = at + m_strNeedle.size();
        ++found;
    }
    if (count)
        *count = found;
    if (!found)
        return text.toString();
    out += text.mid(done);
    return out;
}
