#pragma once
// The overview's editors: a list for a setting of fixed choices (a box's "on"
// and "off", a radio pair's buttons, Operation, Sort By), a line otherwise.
// What the user commits is handed on (Committed), never written to the
// model: it becomes an edit of the tree.

#include <QStyledItemDelegate>

class COverviewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The choices of the column's setting; empty for a free value.
    static QStringList Choices(const QModelIndex &index);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    void Committed(const QModelIndex &index, const QString &text) const;
};
