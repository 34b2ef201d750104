#include "app/EditStep.h"

#include "treeoptions/TreeOptionsCtrl.h"

#include <QTreeWidget>

void CEditStep::Undo(QTreeWidget &tree)
{
    {
        CRedrawGuard noRedraw(&tree);
        for (auto edit = m_edits.rbegin(); edit != m_edits.rend(); ++edit)
            (*edit)->Undo(tree);
    }
    MakeCurrent(tree, m_before);
}

void CEditStep::Redo(QTreeWidget &tree)
{
    {
        CRedrawGuard noRedraw(&tree);
        for (const auto &edit : m_edits)
            edit->Redo(tree);
    }
    MakeCurrent(tree, m_after);
}

std::optional<CItemPath> CEditStep::CurrentOf(const QTreeWidget &tree)
{
    if (QTreeWidgetItem *current = tree.currentItem())
        return CItemPath::Of(current);
    return std::nullopt;
}

void CEditStep::MakeCurrent(QTreeWidget &tree, const std::optional<CItemPath> &path)
{
    QTreeWidgetItem *item = path ? path->Item(tree) : nullptr;
    if (!item) {
        tree.setCurrentItem(nullptr);
        return;
    }
    // What a command acts on shows: the branches above it open.
    for (QTreeWidgetItem *above = item->parent(); above; above = above->parent())
        above->setExpanded(true);
    tree.setCurrentItem(item);
    tree.scrollToItem(item);
}
