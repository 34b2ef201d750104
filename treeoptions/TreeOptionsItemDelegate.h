#pragma once
// Paints the options tree's items: the standard look, plus the filled colour
// square that a colour item shows before its text.

#include <QStyledItemDelegate>

class CTreeOptionsItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The option the item is painted with, for layout computations.
    void InitOption(QStyleOptionViewItem *option, const QModelIndex &index) const { initStyleOption(option, index); }
};
