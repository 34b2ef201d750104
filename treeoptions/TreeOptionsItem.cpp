#include "treeoptions/TreeOptionsItem.h"

#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsImages.h"

CTreeOptionsItem::CTreeOptionsItem(const QString &text, int image)
    : QTreeWidgetItem(kType), m_nImage(image)
{
    if (!text.isEmpty())
        setText(0, text);
}

CTreeOptionsItem::~CTreeOptionsItem()
{
    // An item deleted while it (or one of its descendants) carries the
    // in-place editor takes the editor with it, without a write-back.
    if (QTreeWidget *view = treeWidget())
        if (auto *tree = qobject_cast<CTreeOptionsCtrl *>(view))
            tree->ItemAboutToBeDeleted(this);
}

CTreeOptionsItem *CTreeOptionsItem::CopyOf(const QTreeWidgetItem &source)
{
    auto *copy = new CTreeOptionsItem;
    // The assignment copies text, flags and every data role, and keeps the
    // copy's own type; it copies neither parent nor children.
    static_cast<QTreeWidgetItem &>(*copy) = source;
    copy->m_nImage = source.data(0, kImageIndexRole).isValid() ? source.data(0, kImageIndexRole).toInt() : -1;
    if (source.type() == kType) {
        const auto &item = static_cast<const CTreeOptionsItem &>(source);
        if (item.m_pInfo)
            copy->m_pInfo = std::make_unique<CTreeOptionsItemInfo>(*item.m_pInfo);
    }
    return copy;
}

QVariant CTreeOptionsItem::data(int column, int role) const
{
    if (column == 0) {
        if (role == kImageIndexRole)
            return m_nImage;
        if (role == Qt::DecorationRole)
            return m_nImage >= 0 && m_nImage < CTreeOptionsImages::kCount
                       ? QVariant(CTreeOptionsImages::Icon(m_nImage)) : QVariant();
    }
    return QTreeWidgetItem::data(column, role);
}

void CTreeOptionsItem::setData(int column, int role, const QVariant &value)
{
    if (column == 0 && role == kImageIndexRole) {
        SetImage(value.isValid() ? value.toInt() : -1);
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}

void CTreeOptionsItem::SetImage(int image)
{
    if (image == m_nImage)
        return;
    m_nImage = image;
    emitDataChanged();
}
