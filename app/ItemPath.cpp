#include "app/ItemPath.h"

#include <QTreeWidget>

#include <algorithm>

CItemPath CItemPath::Of(const QTreeWidgetItem *item)
{
    CItemPath path;
    const QTreeWidget *tree = item ? item->treeWidget() : nullptr;
    if (!tree)
        return path;
    const QTreeWidgetItem *top = tree->invisibleRootItem();
    for (; item && item != top; item = item->parent() ? item->parent() : top)
        path.m_rows.push_back(
            (item->parent() ? item->parent() : top)->indexOfChild(const_cast<QTreeWidgetItem *>(item)));
    std::reverse(path.m_rows.begin(), path.m_rows.end());
    return path;
}

QTreeWidgetItem *CItemPath::Item(const QTreeWidget &tree) const
{
    QTreeWidgetItem *item = tree.invisibleRootItem();
    for (int row : m_rows)
        if (!item || !(item = item->child(row)))
            return nullptr;
    return item;
}

QTreeWidgetItem *CItemPath::Parent(const QTreeWidget &tree) const
{
    QTreeWidgetItem *item = tree.invisibleRootItem();
    for (size_t i = 0; i + 1 < m_rows.size(); ++i)
        if (!item || !(item = item->child(m_rows[i])))
            return nullptr;
    return item;
}
