#include "app/TreeEdits.h"

#include "app/ActionCommands.h"

#include <QTreeWidget>

CBranchEdit::CBranchEdit(const CItemPath &path, bool added, CHeldBranch held)
    : m_path(path)
    , m_bAdded(added)
    , m_held(std::move(held))
{
}

std::unique_ptr<CBranchEdit> CBranchEdit::Added(const CItemPath &path)
{
    return std::unique_ptr<CBranchEdit>(new CBranchEdit(path, true, CHeldBranch()));
}

std::unique_ptr<CBranchEdit> CBranchEdit::Deleted(const CItemPath &path, CHeldBranch held)
{
    return std::unique_ptr<CBranchEdit>(new CBranchEdit(path, false, std::move(held)));
}

void CSwapEdit::Swap(QTreeWidget &tree)
{
    CHeldBranch shown = CHeldBranch::Take(tree, m_path);
    m_other.Put(tree, m_path);
    m_other = std::move(shown);
}

CScriptSwapEdit::CScriptSwapEdit(QTreeWidget &tree)
{
    Swap(tree);
}

CScriptSwapEdit::~CScriptSwapEdit()
{
    qDeleteAll(m_roots);
}

void CScriptSwapEdit::Swap(QTreeWidget &tree)
{
    std::vector<QTreeWidgetItem *> expanded;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        CollectExpanded(tree.topLevelItem(i), expanded);
    QList<QTreeWidgetItem *> shown = tree.invisibleRootItem()->takeChildren();
    tree.addTopLevelItems(m_roots);
    for (QTreeWidgetItem *item : m_expanded)
        item->setExpanded(true);
    m_roots = std::move(shown);
    m_expanded = std::move(expanded);
}

void CMoveEdit::Undo(QTreeWidget &tree)
{
    CActionCommands::MoveRoot(tree, m_nTo, m_nFrom);
}

void CMoveEdit::Redo(QTreeWidget &tree)
{
    CActionCommands::MoveRoot(tree, m_nFrom, m_nTo);
}

void CDataEdit::Set(QTreeWidget &tree, const QVariant &value) const
{
    if (QTreeWidgetItem *item = m_path.Item(tree))
        item->setData(0, m_nRole, value);
}
