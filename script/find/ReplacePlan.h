#pragma once
// What a replace across a script changes: each value holding the text, with
// its new value and, for a value of `Default`, the sections that inherit it
// (they show no value of that setting themselves).

#include "script/find/TextFinder.h"

#include <QString>
#include <QStringList>

#include <vector>

// A value the user can edit as text, where the script shows it.
struct CValueSite
{
    QString m_strSection;
    QString m_strLabel;
    QString m_strValue;
};

struct CReplacement
{
    int m_nSite = -1; // in the sites given
    QString m_strNewValue;
    QStringList m_inheritors; // sections taking a changed `Default` value
};

class CReplacePlan
{
public:
    // The replacements of `finder`'s text by `replacement` in the values of
    // `sites`, in their order; only in `section` (case ignored) when it is not
    // empty. `sections` are every section of the script, in order.
    static std::vector<CReplacement> Make(const std::vector<CValueSite> &sites, const QStringList &sections,
                                          const CTextFinder &finder, const QString &replacement,
                                          const QString &section = QString());
};
