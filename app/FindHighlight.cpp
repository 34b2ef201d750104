#include "app/FindHighlight.h"

#include "app/TreeFind.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QPainter>

void CFindHighlight::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *tree = qobject_cast<const CTreeOptionsCtrl *>(option.widget);
    if (tree && m_find.IsMatch(tree->ItemOfIndex(index))) {
        // The find highlight of text editors: a yellow that dark text reads on.
        painter->fillRect(option.rect, QColor(255, 230, 110));
        QStyleOptionViewItem opt = option;
        opt.palette.setColor(QPalette::Text, Qt::black);
        CTreeOptionsItemDelegate::paint(painter, opt, index);
        return;
    }
    CTreeOptionsItemDelegate::paint(painter, option, index);
}
