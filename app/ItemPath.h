#pragma once
// Where an item stands in the tree: its row under each ancestor, from the root
// level down. Steps of the edit history name items by path, not by pointer, so
// an item replaced by its copy, or taken out and put back, is found again.

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class CItemPath
{
public:
    // The path of an item in a tree; the tree's invisible root has the empty path.
    static CItemPath Of(const QTreeWidgetItem *item);

    // The item at the path; null when the tree has none there.
    QTreeWidgetItem *Item(const QTreeWidget &tree) const;
    // The item's parent: the invisible root for a root item.
    QTreeWidgetItem *Parent(const QTreeWidget &tree) const;
    // The row under the parent; -1 for the empty path.
    int Row() const { return m_rows.empty() ? -1 : m_rows.back(); }

private:
    std::vector<int> m_rows;
};
