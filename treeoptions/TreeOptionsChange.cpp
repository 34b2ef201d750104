#include "treeoptions/TreeOptionsChange.h"

#include "treeoptions/TreeOptionsCtrl.h"

namespace {

void Collect(const QTreeWidgetItem *item, CTreeOptionsBranchState &state)
{
    CTreeOptionsItemState &one = state.emplace_back();
    one.m_strText = item->text(0);
    one.m_nImage = CTreeOptionsCtrl::GetItemImage(item);
    if (const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(item)) {
        one.m_crColour = info->m_crColour;
        one.m_lfFont = info->m_lfFont;
    }
    for (int i = 0; i < item->childCount(); ++i)
        Collect(item->child(i), state);
}

void Apply(QTreeWidgetItem *item, const CTreeOptionsBranchState &state, size_t &next)
{
    if (next >= state.size())
        return;
    const CTreeOptionsItemState &one = state[next++];
    if (item->text(0) != one.m_strText)
        item->setText(0, one.m_strText);
    if (CTreeOptionsCtrl::GetItemImage(item) != one.m_nImage)
        CTreeOptionsCtrl::SetItemImage(item, one.m_nImage);
    // Only a record that changes becomes the item's own.
    const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(item);
    if (info && (info->m_crColour != one.m_crColour || info->m_lfFont != one.m_lfFont)) {
        CTreeOptionsItemInfo *own = CTreeOptionsCtrl::EditableItemInfo(item);
        own->m_crColour = one.m_crColour;
        own->m_lfFont = one.m_lfFont;
    }
    for (int i = 0; i < item->childCount(); ++i)
        Apply(item->child(i), state, next);
}

} // namespace

CTreeOptionsBranchState TreeOptionsBranchState(const QTreeWidgetItem *branch)
{
    CTreeOptionsBranchState state;
    if (branch)
        Collect(branch, state);
    return state;
}

void SetTreeOptionsBranchState(QTreeWidgetItem *branch, const CTreeOptionsBranchState &state)
{
    size_t next = 0;
    if (branch)
        Apply(branch, state, next);
}
