#include "scripttree/ScriptLayout.h"

#include "script/ScriptFile.h"
#include "script/SynchArray.h"

#include <algorithm>

CScriptLayout::CScriptLayout(const CScriptFile &file) : m_text(file.SharedText())
{
    const auto &sections = file.Sections();
    m_places.reserve(sections.size());
    for (const auto &section : sections) {
        Place place{section->HeaderOffset(), m_text.size(), Kind::Unloaded, -1};
        qint32 number = 0;
        const bool isDefault = section->m_strName.compare(u"Default", Qt::CaseInsensitive) == 0;
        if (isDefault || ParseActionName(section->m_strName, number)) {
            const bool first = file.FindSection(section->m_strName) == section.get();
            place.kind = first ? Kind::Loaded : Kind::Duplicate;
            place.loadOrder = isDefault ? 0 : number;
            m_bDuplicates |= !first;
        }
        if (!m_places.empty())
            m_places.back().end = place.begin;
        m_places.push_back(place);
    }
    m_preambleEnd = m_places.empty() ? m_text.size() : m_places.front().begin;
    // Viewed, never indexed for writing: the text stays the document's, not a copy.
    const QStringView text(m_text);
    const qsizetype lineFeed = text.indexOf(u'\n');
    const bool crLf = lineFeed > 0 && text[lineFeed - 1] == u'\r';
    m_lineEnd = lineFeed < 0 ? QStringView(u"\r\n") : text.mid(crLf ? lineFeed - 1 : lineFeed, crLf ? 2 : 1);
}

QStringView CScriptLayout::SectionText(qsizetype index) const
{
    const Place &place = m_places[size_t(index)];
    return QStringView(m_text).mid(place.begin, place.end - place.begin);
}

qsizetype CScriptLayout::IndexOf(const CSection *section) const
{
    const qsizetype offset = section->HeaderOffset();
    const auto found = std::lower_bound(m_places.begin(), m_places.end(), offset,
                                        [](const Place &place, qsizetype at) { return place.begin < at; });
    return found != m_places.end() && found->begin == offset ? found - m_places.begin() : -1;
}
