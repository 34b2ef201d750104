#pragma once
// Records each change of the tree as one step of the edit history, from the
// tree's own state before and after: an edit the tree reports, and each of the
// editor's commands, which the recorder runs.

#include <QList>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class CEditHistory;
class QTreeWidget;
class QTreeWidgetItem;
class QVariant;
struct CTreeOptionsChange;

class CEditRecorder
{
public:
    CEditRecorder(QTreeWidget &tree, CEditHistory &history) : m_tree(tree), m_history(history) {}

    // A box, radio, value, colour or font the user changed in the tree.
    void ItemChanged(const CTreeOptionsChange &change);
    // A command that adds one root and makes it current (New Action, Repeat
    // Action), renaming others perhaps: the step holds the added branch and
    // the names that changed.
    void AddRoot(const std::function<void()> &command);
    // A command that changes the branch of the current item's root (Show
    // All): the step holds the other version of that root.
    void ChangeRoot(const std::function<void()> &command);
    // A command that changes the branches of `roots` (a setting set in
    // several actions at once): one step holds the other version of each
    // root it changed.
    void ChangeRoots(const QList<QTreeWidgetItem *> &roots, const std::function<void()> &command);
    // A command that moves the current root to a neighbour's place.
    void MoveRoot(const std::function<void()> &command);
    // Deletes the current item with its branch, which the step keeps.
    void DeleteCurrent();
    // Sets the value `item` (a root, or the invisible root) holds in `role`.
    void SetData(QTreeWidgetItem *item, int role, const QVariant &value);
    // Gives each item its value (Replace): one step, whatever their branches.
    void SetValues(const std::vector<std::pair<QTreeWidgetItem *, QString>> &values);

private:
    QTreeWidget &m_tree;
    CEditHistory &m_history;
};
