#pragma once
// The read-only lists beside the tree (the problems, the values in effect)
// look and behave alike: a caption above a flat list that shows whole rows
// and is never edited.

class QLabel;
class QTreeView;
class QWidget;

// Sets `list` up as such a list and lays `caption` and `list` out in `pane`.
void LayOutPane(QWidget &pane, QLabel &caption, QTreeView &list);
