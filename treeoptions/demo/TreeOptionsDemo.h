#pragma once
// One tree with every sort of item: check boxes with an indeterminate parent
// and disabled boxes, a radio group, text, list, number, file, folder, colour
// and font items, and one item per image of the strip.

class CTreeOptionsCtrl;
class QTreeWidgetItem;

// Appends the demo branch at the root level and returns its root item.
QTreeWidgetItem *BuildTreeOptionsDemo(CTreeOptionsCtrl &tree);
