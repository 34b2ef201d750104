#pragma once
// Show All as an operation on a root item: gives an action every setting item
// it lacks, each at its fixed place with its fixed initial state, and leaves
// the items it already has as they are.

#include <QString>

#include <vector>

class CTreeOptionsCtrl;
class QTreeWidgetItem;

class CActionCompleter
{
public:
    explicit CActionCompleter(CTreeOptionsCtrl &tree);

    // Completes the action whose root is `root`, then expands the root and
    // its "Filters" group. Running it twice gives the same tree as once.
    void Complete(QTreeWidgetItem *root);

private:
    enum class Kind { Edit, Combo, Check, Radio, Group };
    // One of the 50 items of a complete action.
    struct Row
    {
        int id = -1;    // the catalogue row, -1 for "Prompted Operation"
        int level = 0;  // 0 under the root, else the catalogue row of its group
        QString label;
        Kind kind = Kind::Edit;
        bool on = false;  // checked or selected
        const void *comboClass = nullptr;
        int image = 11;
        QString value;  // a list item's initial value
    };

    void BuildRows();
    // Merges the rows of `level` into the children of `parent`.
    void MergeLevel(QTreeWidgetItem *parent, int level, QTreeWidgetItem **filters);
    QTreeWidgetItem *Insert(const Row &row, QTreeWidgetItem *parent, QTreeWidgetItem *after);

    CTreeOptionsCtrl &m_tree;
    std::vector<Row> m_rows;
};
