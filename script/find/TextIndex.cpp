#include "script/find/TextIndex.h"

#include "script/find/TextFinder.h"

#include <algorithm>

void CTextIndex::Clear()
{
    m_strText.clear();
    m_starts.clear();
}

int CTextIndex::Add(QStringView first, QStringView second)
{
    m_starts.push_back(m_strText.size());
    m_strText += CTextFinder::Normalized(first, false);
    m_strText += u'\n';
    m_strText += CTextFinder::Normalized(second, false);
    m_strText += QChar(0);
    return int(m_starts.size()) - 1;
}

std::vector<int> CTextIndex::Matching(const CTextFinder &finder) const
{
    std::vector<int> found;
    if (finder.IsEmpty())
        return found;
    qsizetype from = 0;
    auto next = m_starts.begin();
    for (qsizetype at; (at = finder.IndexInNormalized(m_strText, from)) >= 0;) {
        // A needle holds no line break or NUL, so a match stays in one field.
        // Matches come in order: the entry is found by going forward.
        while (next != m_starts.end() && *next <= at)
            ++next;
        found.push_back(int(next - m_starts.begin()) - 1);
        if (next == m_starts.end())
            break;
        from = *next; // one match is enough for an entry
    }
    return found;
}
