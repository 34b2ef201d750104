#pragma once
// A branch kept out of the tree by the edit history: a deleted action waiting
// for Undo, an added one waiting for Redo, or the other version of an action
// that Show All completed. The view forgets which items were expanded when an
// item leaves it, so the branch keeps that itself.

#include "app/ItemPath.h"

#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class CHeldBranch
{
public:
    CHeldBranch();
    ~CHeldBranch();
    CHeldBranch(CHeldBranch &&) noexcept;
    CHeldBranch &operator=(CHeldBranch &&) noexcept;

    // Takes the branch at `path` out of the tree.
    static CHeldBranch Take(QTreeWidget &tree, const CItemPath &path);
    // A copy of a branch in the tree, with its records and expansion.
    static CHeldBranch CopyOf(const QTreeWidgetItem &item);
    // Puts the branch back at `path`, expanded as it was; nothing is held after.
    QTreeWidgetItem *Put(QTreeWidget &tree, const CItemPath &path);

    bool IsEmpty() const { return !m_pItem; }

private:
    std::unique_ptr<QTreeWidgetItem> m_pItem;
    std::vector<QTreeWidgetItem *> m_expanded; // items of the branch
};

// Adds to `expanded` every item of the branch under `item`, itself included,
// that is expanded.
void CollectExpanded(QTreeWidgetItem *item, std::vector<QTreeWidgetItem *> &expanded);
