#include "app/ActionCommands.h"

#include "app/ActionNamer.h"
#include "script/tree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <vector>

namespace {

void CollectExpanded(QTreeWidgetItem *item, std::vector<QTreeWidgetItem *> &expanded)
{
    if (item->isExpanded())
        expanded.push_back(item);
    for (int i = 0; i < item->childCount(); ++i)
        CollectExpanded(item->child(i), expanded);
}

} // namespace

void CActionCommands::ShowAll()
{
    if (QTreeWidgetItem *root = CActionNamer::RootOf(m_tree.currentItem()))
        CompleteAction(m_tree, root);
}

void CActionCommands::RepeatAction()
{
    QTreeWidgetItem *root = CActionNamer::RootOf(m_tree.currentItem());
    if (!root)
        return;
    const QString name = CActionNamer::NextActionName(m_tree);
    QTreeWidgetItem *copy = m_tree.DuplicateBranch(root, nullptr, TVI_LAST);
    copy->setText(0, name);
    m_tree.setCurrentItem(copy);
}

void CActionCommands::NewAction()
{
    QTreeWidgetItem *root = CActionNamer::RootOf(m_tree.currentItem());
    QString name;
    CTreeInsertPos where = TVI_LAST;
    if (root) {
        name = CActionNamer::NextActionName(m_tree);
        where = CTreeInsertPos(root);
    } else if (!CActionNamer::HasDefaultRoot(m_tree)) {
        name = CActionNamer::DefaultName();
    } else {
        name = CActionNamer::NextActionName(m_tree);
    }
    QTreeWidgetItem *item = InsertActionRoot(m_tree, name, where);
    m_tree.setCurrentItem(item);
    CompleteAction(m_tree, item);
}

void CActionCommands::MoveUp() { MoveBy(-1); }

void CActionCommands::MoveDown() { MoveBy(1); }

void CActionCommands::MoveBy(int step)
{
    QTreeWidgetItem *moved = m_tree.currentItem();
    if (!moved || moved->parent())
        return;
    const int from = m_tree.indexOfTopLevelItem(moved);
    const int to = from + step;
    if (from < 0 || to < 0 || to >= m_tree.topLevelItemCount())
        return;
    m_tree.setCurrentItem(MoveRoot(m_tree, from, to));
}

QTreeWidgetItem *CActionCommands::MoveRoot(QTreeWidget &tree, int from, int to)
{
    QTreeWidgetItem *moved = tree.topLevelItem(from);
    QTreeWidgetItem *neighbour = tree.topLevelItem(to);
    if (!moved || !neighbour)
        return nullptr;
    const QString movedName = moved->text(0);
    const QString neighbourName = neighbour->text(0);

    CRedrawGuard noRedraw(&tree);
    std::vector<QTreeWidgetItem *> expanded;
    CollectExpanded(moved, expanded);
    tree.takeTopLevelItem(from);
    tree.insertTopLevelItem(to, moved);
    for (QTreeWidgetItem *item : expanded)
        item->setExpanded(true);
    // The names keep their places; the settings travel.
    moved->setText(0, neighbourName);
    neighbour->setText(0, movedName);
    return moved;
}

CActionCommands::MoveStates CActionCommands::MoveStatesFor(const QTreeWidgetItem *current) const
{
    MoveStates states;
    if (!current || current->parent() || current->treeWidget() != &m_tree)
        return states;
    const int index = m_tree.indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(current));
    states.up = index > 0;
    states.down = index >= 0 && index + 1 < m_tree.topLevelItemCount();
    return states;
}
