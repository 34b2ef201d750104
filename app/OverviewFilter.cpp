#include "app/OverviewFilter.h"

#include "app/OverviewModel.h"

namespace {

bool Holds(QString text, const QString &part)
{
    text.replace(u'\\', u'/');
    return text.contains(part, Qt::CaseInsensitive);
}

} // namespace

COverviewFilter::COverviewFilter(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(COverviewModel::kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

void COverviewFilter::SetFilterText(const QString &text)
{
    QString part = text;
    part.replace(u'\\', u'/');
    if (part == m_strText)
        return;
    m_strText = part;
    invalidateRowsFilter();
}

bool COverviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_strText.isEmpty())
        return true;
    const auto *model = static_cast<const COverviewModel *>(sourceModel());
    if (Holds(model->ActionName(sourceRow), m_strText))
        return true;
    for (int column = 0; column < model->columnCount(); ++column)
        if (Holds(model->Value(sourceRow, column).value, m_strText))
            return true;
    return false;
}
