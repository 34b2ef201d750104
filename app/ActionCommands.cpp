#include "app/ActionCommands.h"

#include "app/ActionNamer.h"
#include "app/HeldBranch.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <vector>

void CActionCommands::ShowAll()
{
    if (QTreeWidgetItem *root = CActionNamer::RootOf(SelectedItem()))
        CompleteAction(m_tree, root);
}

void CActionCommands::RepeatAction()
{
    QTreeWidgetItem *root = CActionNamer::RootOf(SelectedItem());
    if (!root)
        return;
    const QString name = CActionNamer::NextActionName(m_tree);
    QTreeWidgetItem *copy = m_tree.DuplicateBranch(root, nullptr, TVI_LAST);
    copy->setText(0, name);
    m_tree.setCurrentItem(copy);
}

std::vector<CActionCommands::RootRename> CActionCommands::NewAction()
{
    QTreeWidgetItem *root = CActionNamer::RootOf(SelectedItem());
    std::vector<RootRename> renamed;
    QString name;
    CTreeInsertPos where = TVI_LAST;
    if (root) {
        name = NameInsertedAction(m_tree.indexOfTopLevelItem(root) + 1, renamed);
        where = CTreeInsertPos(root);
    } else if (!CActionNamer::HasDefaultRoot(m_tree)) {
        name = CActionNamer::DefaultName();
    } else {
        name = CActionNamer::NextActionName(m_tree);
    }
    QTreeWidgetItem *item = InsertActionRoot(m_tree, name, where);
    m_tree.setCurrentItem(item);
    CompleteAction(m_tree, item);
    return renamed;
}

QString CActionCommands::NameInsertedAction(int row, std::vector<RootRename> &renamed)
{
    renamed.clear();
    // The actions from `row` on, and the number of the last one above it;
    // other roots ("Default") keep their names and places.
    std::vector<QTreeWidgetItem *> below;
    qint64 above = 0;
    for (int i = 0; i < m_tree.topLevelItemCount(); ++i) {
        QTreeWidgetItem *root = m_tree.topLevelItem(i);
        qint32 number = 0;
        if (!ParseActionName(root->text(0), number))
            continue;
        if (i < row)
            above = number;
        else
            below.push_back(root);
    }
    const QString next = CActionNamer::NextActionName(m_tree);
    if (below.empty())
        return next;
    qint32 first = 0;
    ParseActionName(below.front()->text(0), first);
    const QString gap = QStringLiteral("Action%1").arg(above + 1);
    if (above + 1 < first && !CActionNamer::HasRoot(m_tree, gap))
        return gap;
    const QString name = below.front()->text(0);
    for (size_t i = 0; i < below.size(); ++i)
        renamed.push_back({below[i], below[i]->text(0), i + 1 < below.size() ? below[i + 1]->text(0) : next});
    CRedrawGuard noRedraw(&m_tree);
    for (const RootRename &rename : renamed)
        rename.root->setText(0, rename.after);
    return name;
}

void CActionCommands::MoveUp()
{
    MoveBy(-1);
}

void CActionCommands::MoveDown()
{
    MoveBy(1);
}

void CActionCommands::MoveBy(int step)
{
    QTreeWidgetItem *moved = SelectedItem();
    const MoveStates states = MoveStatesFor(moved);
    if (!(step < 0 ? states.up : states.down))
        return;
    const int from = m_tree.indexOfTopLevelItem(moved);
    m_tree.setCurrentItem(MoveRoot(m_tree, from, from + step));
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
    // "Default" is the template every action inherits, not a step of the
    // run order: a move never trades settings with it.
    auto isDefault = [](const QTreeWidgetItem *root) {
        return root && root->text(0).compare(CActionNamer::DefaultName(), Qt::CaseInsensitive) == 0;
    };
    const int index = m_tree.indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(current));
    if (index < 0 || isDefault(current))
        return states;
    states.up = index > 0 && !isDefault(m_tree.topLevelItem(index - 1));
    states.down = index + 1 < m_tree.topLevelItemCount() && !isDefault(m_tree.topLevelItem(index + 1));
    return states;
}

QTreeWidgetItem *CActionCommands::SelectedItem() const
{
    QTreeWidgetItem *current = m_tree.currentItem();
    return current && current->isSelected() ? current : nullptr;
}
