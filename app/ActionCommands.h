#pragma once
// The commands that change the list of actions in the options tree: complete,
// repeat, add, delete and move. They work on the tree alone; the selected item
// is the tree's current item, and a command that does not apply does nothing.

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
    // Adds a complete new action below the selected action and selects it.
    // With nothing selected: "Default" at the end when the tree has none,
    // otherwise a new numbered action at the end.
    void NewAction();
    // Swap the selected action's settings with those of the action above or
    // below; the names stay in place, the settings travel and stay selected.
    void MoveUp();
    void MoveDown();

    // Which move buttons apply to `current`: an action with an action above
    // it, or below it.
    struct MoveStates
    {
        bool up = false;
        bool down = false;
    };
    MoveStates MoveStatesFor(const QTreeWidgetItem *current) const;

    // Moves the root at row `from` to row `to` (a neighbour's), swapping the
    // two names so that they keep their places; the branch keeps its
    // expansion. Returns the moved root.
    static QTreeWidgetItem *MoveRoot(QTreeWidget &tree, int from, int to);

private:
    void MoveBy(int step);

    CTreeOptionsCtrl &m_tree;
};
