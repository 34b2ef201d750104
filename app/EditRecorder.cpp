#include "app/EditRecorder.h"

#include "app/ActionNamer.h"
#include "app/EditHistory.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsDump.h"

#include <QTreeWidget>

#include <vector>

namespace {

QStringList RootNames(const QTreeWidget &tree)
{
    QStringList names;
    names.reserve(tree.topLevelItemCount());
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        names << tree.topLevelItem(i)->text(0);
    return names;
}

} // namespace

void CEditRecorder::ItemChanged(const CTreeOptionsChange &change)
{
    if (m_history.IsReplaying() || !change.m_pItem || !change.m_pBranch)
        return;
    const CItemPath item = CItemPath::Of(change.m_pItem);
    auto step = std::make_unique<CEditStep>(item);
    step->Add(std::make_unique<CStatesEdit>(CItemPath::Of(change.m_pBranch), change.m_before, change.m_after));
    step->SetCurrentAfter(item);
    m_history.Push(std::move(step));
}

void CEditRecorder::AddRoot(const std::function<void()> &command)
{
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    const QStringList before = RootNames(m_tree);
    command();
    QTreeWidgetItem *added = m_tree.currentItem();
    const int row = added ? m_tree.indexOfTopLevelItem(added) : -1;
    if (row < 0 || m_tree.topLevelItemCount() != before.size() + 1)
        return;
    step->Add(CBranchEdit::Added(CItemPath::Of(added)));
    // Every other root is compared with the one that stood at its place.
    for (int i = 0; i < m_tree.topLevelItemCount(); ++i) {
        if (i == row)
            continue;
        const QString &old = before[i < row ? i : i - 1];
        const QString now = m_tree.topLevelItem(i)->text(0);
        if (now != old)
            step->Add(std::make_unique<CDataEdit>(CItemPath::Of(m_tree.topLevelItem(i)), Qt::DisplayRole, old, now));
    }
    step->SetCurrentAfter(CItemPath::Of(added));
    m_history.Push(std::move(step));
}

void CEditRecorder::ChangeRoot(const std::function<void()> &command)
{
    QTreeWidgetItem *root = CActionNamer::RootOf(m_tree.currentItem());
    if (!root) {
        command();
        return;
    }
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    const CItemPath path = CItemPath::Of(root);
    CHeldBranch before = CHeldBranch::CopyOf(*root);
    const QString dump = TreeOptionsDumpBranch(root);
    command();
    if (path.Item(m_tree) != root || TreeOptionsDumpBranch(root) == dump)
        return; // nothing changed
    step->Add(std::make_unique<CSwapEdit>(path, std::move(before)));
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
}

void CEditRecorder::ChangeRoots(const QList<QTreeWidgetItem *> &roots, const std::function<void()> &command)
{
    struct Before
    {
        QTreeWidgetItem *root;
        CItemPath path;
        CHeldBranch copy;
        QString dump;
    };
    std::vector<Before> before;
    before.reserve(size_t(roots.size()));
    for (QTreeWidgetItem *root : roots)
        before.push_back({root, CItemPath::Of(root), CHeldBranch::CopyOf(*root), TreeOptionsDumpBranch(root)});
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    command();
    for (Before &root : before)
        if (root.path.Item(m_tree) == root.root && TreeOptionsDumpBranch(root.root) != root.dump)
            step->Add(std::make_unique<CSwapEdit>(root.path, std::move(root.copy)));
    if (step->IsEmpty())
        return;
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
}

void CEditRecorder::MoveRoot(const std::function<void()> &command)
{
    QTreeWidgetItem *moved = m_tree.currentItem();
    const int from = moved ? m_tree.indexOfTopLevelItem(moved) : -1;
    if (from < 0) {
        command();
        return;
    }
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    command();
    const int to = m_tree.indexOfTopLevelItem(moved);
    if (to < 0 || to == from)
        return;
    step->Add(std::make_unique<CMoveEdit>(from, to));
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
}

void CEditRecorder::DeleteCurrent()
{
    QTreeWidgetItem *current = m_tree.currentItem();
    if (!current)
        return;
    const CItemPath path = CItemPath::Of(current);
    auto step = std::make_unique<CEditStep>(path);
    step->Add(CBranchEdit::Deleted(path, CHeldBranch::Take(m_tree, path)));
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
}

void CEditRecorder::SetData(QTreeWidgetItem *item, int role, const QVariant &value)
{
    const CItemPath path = CItemPath::Of(item);
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    step->Add(std::make_unique<CDataEdit>(path, role, item->data(0, role), value));
    item->setData(0, role, value);
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
}

void CEditRecorder::SetValues(const std::vector<std::pair<QTreeWidgetItem *, QString>> &values)
{
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    bool changed = false;
    for (const auto &[item, value] : values) {
        CTreeOptionsBranchState before = TreeOptionsBranchState(item);
        CTreeOptionsCtrl::SetItemValueText(item, value);
        CTreeOptionsBranchState after = TreeOptionsBranchState(item);
        if (after == before)
            continue;
        step->Add(std::make_unique<CStatesEdit>(CItemPath::Of(item), std::move(before), std::move(after)));
        changed = true;
    }
    if (!changed)
        return;
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
}
