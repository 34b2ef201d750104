#pragma once
// The overview's rows in the order the user sorts them, and only the actions
// whose name or some value holds the filter text (case ignored; '/' and '\'
// alike, as in paths). Cleared, it sorts back to run order.

#include <QSortFilterProxyModel>

class COverviewFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit COverviewFilter(QObject *parent = nullptr);

    void SetFilterText(const QString &text);
    QString FilterText() const { return m_strText; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString m_strText; // with '\' turned into '/'
};
