#include "treeoptions/TreeOptionsItemDelegate.h"

#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QPainter>

void CTreeOptionsItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const auto *tree = qobject_cast<const CTreeOptionsCtrl *>(option.widget);
    const QTreeWidgetItem *item = tree ? tree->itemFromIndex(index) : nullptr;
    if (!item || !CTreeOptionsCtrl::IsColourItem(item))
        return;
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle *style = tree->style();
    QRect square = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, tree);
    if (square.isEmpty())
        square = QRect(opt.rect.left(), opt.rect.top(), 16, opt.rect.height());
    const COLORREF colour = CTreeOptionsCtrl::GetItemColour(item);
    painter->save();
    painter->setPen(opt.palette.color(QPalette::Text));
    painter->setBrush(QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    painter->drawRect(square.adjusted(0, 0, -1, -1));
    painter->restore();
}
