#include "app/OverviewFilter.h"

#include "app/OverviewModel.h"

COverviewFilter::COverviewFilter(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(COverviewModel::kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

void COverviewFilter::SetFilterText(const QString &text)
{
    if (text == m_strText)
        return;
    m_strText = text;
    m_finder = CTextFinder(text);
    invalidateRowsFilter();
}

bool COverviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_finder.IsEmpty())
        return true;
    const auto *model = static_cast<const COverviewModel *>(sourceModel());
    if (m_finder.Holds(model->ActionName(sourceRow)))
        return true;
    for (int column = 0; column < model->columnCount(); ++column)
        if (m_finder.Holds(model->Value(sourceRow, column).value))
            return true;
    return false;
}
