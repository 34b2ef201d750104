#pragma once
// The overview's table over the records of the script as the tree would save
// it: one row per action in run order (its name the row's header), one column
// per setting the editor shows, each cell the value in effect. A value the
// action sets itself is bold; one that differs from "Default"'s is marked as
// the values pane marks it. Rows are made when first asked for, so a script of
// any size opens at once.

#include "script/check/ValuesInEffect.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <vector>

class CSynchArray;

class COverviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The value in script form as an editor starts with it (EditRole gives it
    // too), the value for sorting (numbers as numbers), and the value's origin.
    enum Role { kSortRole = Qt::UserRole + 1, kOriginRole, kOverridesRole };

    explicit COverviewModel(QObject *parent = nullptr);

    // Shows the records of `document`, kept alive by `owner`.
    void SetDocument(std::shared_ptr<const void> owner, const CSynchArray *document);

    const SettingField &Field(int column) const;
    QString ActionName(int row) const;
    const EffectiveValue &Value(int row, int column) const;
    // The table as CSV, as `mbscript dump --csv` prints it.
    QByteArray Csv() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::shared_ptr<const void> m_owner;
    const CSynchArray *m_document = nullptr;
    mutable std::vector<std::optional<std::vector<EffectiveValue>>> m_rows;
};
