#pragma once
// What an edit inside the options tree changed, as the tree reports it: the
// item the user changed (a box or radio toggled, a value committed from its
// editor, a colour or font picked) and the state of every item of the branch
// that holds all the edit touched, before and after, in the branch's order.
// Such edits never add or remove items, so both lists match item for item.

#include "framework/ColourTypes.h"

#include <QString>

#include <vector>

class QTreeWidgetItem;

// What an edit can change of one item.
struct CTreeOptionsItemState
{
    QString m_strText;
    int m_nImage = -1;
    COLORREF m_crColour = 0;
    CLogFont m_lfFont;

    bool operator==(const CTreeOptionsItemState &) const = default;
};

// A branch's item states: the branch's top item first, then its descendants
// depth first.
using CTreeOptionsBranchState = std::vector<CTreeOptionsItemState>;

struct CTreeOptionsChange
{
    QTreeWidgetItem *m_pItem = nullptr;   // what the user changed
    QTreeWidgetItem *m_pBranch = nullptr; // holds every item the edit touched
    CTreeOptionsBranchState m_before;
    CTreeOptionsBranchState m_after;
};

CTreeOptionsBranchState TreeOptionsBranchState(const QTreeWidgetItem *branch);
// Gives the branch's items the states of a list taken from it (or from a
// branch of the same shape).
void SetTreeOptionsBranchState(QTreeWidgetItem *branch, const CTreeOptionsBranchState &state);
