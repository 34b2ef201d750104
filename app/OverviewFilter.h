#pragma once
// The overview's rows in the order the user sorts them, and only the actions
// whose name or some value holds the filter text, found as the find bar finds
// it (CTextFinder). Cleared, it sorts back to run order.

#include "script/find/TextFinder.h"

#include <QSortFilterProxyModel>

class COverviewFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit COverviewFilter(QObject *parent = nullptr);

    void SetFilterText(const QString &text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString m_strText;
    CTextFinder m_finder;
};
