#pragma once
// What assistive tools see of the options tree. The toolkit's own account of a
// tree cannot tell a box's or a radio's state, which lives in the drawn image,
// nor a value apart from its label, so the control answers for itself:
//
// - a row is a check box, a radio button or a tree item; a box or radio is
//   checkable and says whether it is checked (an indeterminate box is checked
//   and mixed, a crossed-out one disabled), and its Toggle and Press actions do
//   what the space bar does; a change of state raises a state-changed event;
// - a value row's name is its label and its value is the value, the open
//   editor's while one is open, also given as read-only text (the desktop's
//   accessibility bus carries a value no other way); Press gives the keyboard
//   to its editor (F2);
// - a row's description is what the control's owner gives for the item
//   (CTreeOptionsCtrl::SetItemDescriptions).
//
// The tree's children are numbered as the view numbers them in the events it
// raises itself: the column header (hidden or not), the shown rows from top to
// bottom, and last the viewport, which holds the open editors and is never
// the focused object.

#include <QModelIndex>

class CTreeOptionsCtrl;

// Gives every options tree its account; the control calls it.
void InstallTreeOptionsAccessible();

// Raises the state-changed events of the rows from `topLeft` to `bottomRight`
// whose state assistive tools have been told and which no longer holds.
void TreeOptionsRowsChanged(CTreeOptionsCtrl &tree, const QModelIndex &topLeft, const QModelIndex &bottomRight);
