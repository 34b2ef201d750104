#include "script/find/ReplacePlan.h"

#include <QSet>

namespace {

bool IsDefault(const QString &section)
{
    return section.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0;
}

// The sections that show no value of `label` themselves.
QStringList Inheritors(const std::vector<CValueSite> &sites, const QStringList &sections, const QString &label)
{
    QSet<QString> setting;
    for (const CValueSite &site : sites)
        if (site.m_strLabel == label)
            setting.insert(site.m_strSection.toLower());
    QStringList inheritors;
    for (const QString &section : sections)
        if (!IsDefault(section) && !setting.contains(section.toLower()))
            inheritors << section;
    return inheritors;
}

} // namespace

std::vector<CReplacement> CReplacePlan::Make(const std::vector<CValueSite> &sites, const QStringList &sections,
                                             const CTextFinder &finder, const QString &replacement,
                                             const QString &section)
{
    std::vector<CReplacement> plan;
    if (finder.IsEmpty())
        return plan;
    for (int i = 0; i < int(sites.size()); ++i) {
        const CValueSite &site = sites[size_t(i)];
        if (!section.isEmpty() && site.m_strSection.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        int count = 0;
        QString value = finder.Replaced(site.m_strValue, replacement, &count);
        if (!count || value == site.m_strValue)
            continue;
        CReplacement change{i, std::move(value), {}};
        if (IsDefault(site.m_strSection))
            change.m_inheritors = Inheritors(sites, sections, site.m_strLabel);
        plan.push_back(std::move(change));
    }
    return plan;
}
