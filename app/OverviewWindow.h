#pragma once
// The overview: every action's values in effect side by side, in a window of
// its own beside the editor. Typing a value, or picking one from the list,
// sets it in every selected action of the column as one undoable edit; Enter
// or a double click shows the setting in the tree; "Save Table As..." writes
// the table as CSV. It follows the tree through the checker's results.

#include <QWidget>

class CEditRecorder;
class COverviewFilter;
class COverviewModel;
class CTreeChecker;
class CTreeOptionsCtrl;
class QTableView;

class COverviewWindow : public QWidget
{
    Q_OBJECT
public:
    COverviewWindow(CTreeOptionsCtrl &tree, CEditRecorder &recorder, CTreeChecker &checker, QWidget *parent);

    QTableView &Table() const { return *m_table; }
    COverviewModel &Model() const { return *m_model; }
    // Shows only the actions whose name or a value holds `text` (the find text).
    void SetFilterText(const QString &text);

    // Shows and raises the window, the table taking the keyboard.
    void Open();
    // Sets `text` (as the column's editor gives it) in every selected action
    // of the column of `index`, or in that action alone when it is not selected.
    void Apply(const QModelIndex &index, const QString &text);
    // Asks for a file and writes the table to it as CSV.
    void SaveTableAs();

private:
    void Refresh();
    void ShowInTree(const QModelIndex &index);

    CTreeOptionsCtrl &m_tree;
    CEditRecorder &m_recorder;
    CTreeChecker &m_checker;
    COverviewModel *m_model;
    COverviewFilter *m_filter;
    QTableView *m_table;
};
