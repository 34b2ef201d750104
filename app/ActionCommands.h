#pragma once
// The commands that change the list of actions in the options tree: complete,
// repeat, add, delete and move. They work on the tree alone; the selected item
// is the tree's current item while it shows selected, and a command that does
// not apply does nothing.

#include <QString>

#include <vector>

class CTreeOptionsCtrl;
class QTreeWidget;
class QTreeWidgetItem;

class CActionCommands
{
public:
    explicit CActionCommands(CTreeOptionsCtrl &tree) : m_tree(tree) {}

    // Gives the action holding the selected item every setting it lacks.
    void ShowAll();
    // Copies the action holding the selected item, with all its settings, to
    // the end under a new name, and selects the copy.
    void RepeatAction();
    // A root renamed so that action names ascend in tree order.
    struct RootRename
    {
        QTreeWidgetItem *root = nullptr;
        QString before;
        QString after;
    };

    // Adds a complete new action below the selected action and selects it,
    // named by NameInsertedAction; returns the roots that command renamed.
    // With nothing selected: "Default" at the end when the tree has none,
    // otherwise a new numbered action at the end.
    std::vector<RootRename> NewAction();
    // Names an action about to be inserted at `row` of the root level so that
    // the names still ascend in tree order, the order the engine runs them
    // in. When the numbers of the actions around `row` leave a gap, the new
    // action takes the first free number and nothing is renamed. Otherwise it
    // takes the name of the action at `row`; each action from there on takes
    // the name of the next, and the last the next free number. Renames the
    // roots and reports each in `renamed`; returns the new action's name.
    QString NameInsertedAction(int row, std::vector<RootRename> &renamed);
    // Swap the selected action's settings with those of the action above or
    // below; the names stay in place, the settings travel and stay selected.
    // Neither moves "Default" nor swaps with it.
    void MoveUp();
    void MoveDown();

    // Which move buttons apply to `current`: an action with an action above
    // it, or below it; "Default" on neither side.
    struct MoveStates
    {
        bool up = false;
        bool down = false;
    };
    MoveStates MoveStatesFor(const QTreeWidgetItem *current) const;
    // The current item when it shows selected; else nothing, which no
    // command but New Action acts on.
    QTreeWidgetItem *SelectedItem() const;

    // Moves the root at row `from` to row `to` (a neighbour's), swapping the
    // two names so that they keep their places; the branch keeps its
    // expansion. Returns the moved root.
    static QTreeWidgetItem *MoveRoot(QTreeWidget &tree, int from, int to);

private:
    void MoveBy(int step);

    CTreeOptionsCtrl &m_tree;
};
