#pragma once
// A text picture of a branch of the options tree, one line per item: two
// spaces per level, the text, then the image index in brackets. Used to
// compare whole branches at once.

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// The branch under `root` (its descendants, not `root` itself); a null root
// dumps the whole tree. Lines end with '\n'.
QString TreeOptionsDump(const QTreeWidget &tree, const QTreeWidgetItem *root = nullptr);
// `item` itself and its descendants.
QString TreeOptionsDumpBranch(const QTreeWidgetItem *item, int depth = 0);
