#include "app/HeldBranch.h"

#include "treeoptions/TreeOptionsItem.h"

#include <QTreeWidget>

void CollectExpanded(QTreeWidgetItem *item, std::vector<QTreeWidgetItem *> &expanded)
{
    if (item->isExpanded())
        expanded.push_back(item);
    for (int i = 0; i < item->childCount(); ++i)
        CollectExpanded(item->child(i), expanded);
}

namespace {

QTreeWidgetItem *Copy(const QTreeWidgetItem &item, std::vector<QTreeWidgetItem *> &expanded)
{
    QTreeWidgetItem *copy = CTreeOptionsItem::CopyOf(item);
    if (item.isExpanded())
        expanded.push_back(copy);
    for (int i = 0; i < item.childCount(); ++i)
        copy->addChild(Copy(*item.child(i), expanded));
    return copy;
}

} // namespace

CHeldBranch::CHeldBranch() = default;
CHeldBranch::~CHeldBranch() = default;
CHeldBranch::CHeldBranch(CHeldBranch &&) noexcept = default;
CHeldBranch &CHeldBranch::operator=(CHeldBranch &&) noexcept = default;

CHeldBranch CHeldBranch::Take(QTreeWidget &tree, const CItemPath &path)
{
    CHeldBranch held;
    QTreeWidgetItem *parent = path.Parent(tree);
    QTreeWidgetItem *item = path.Item(tree);
    if (!parent || !item)
        return held;
    CollectExpanded(item, held.m_expanded);
    held.m_pItem.reset(parent->takeChild(path.Row()));
    return held;
}

CHeldBranch CHeldBranch::CopyOf(const QTreeWidgetItem &item)
{
    CHeldBranch held;
    held.m_pItem.reset(Copy(item, held.m_expanded));
    return held;
}

QTreeWidgetItem *CHeldBranch::Put(QTreeWidget &tree, const CItemPath &path)
{
    QTreeWidgetItem *parent = path.Parent(tree);
    if (!parent || !m_pItem)
        return nullptr;
    QTreeWidgetItem *item = m_pItem.release();
    parent->insertChild(qBound(0, path.Row(), parent->childCount()), item);
    for (QTreeWidgetItem *expanded : m_expanded)
        expanded->setExpanded(true);
    m_expanded.clear();
    return item;
}
