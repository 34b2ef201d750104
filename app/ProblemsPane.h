#pragma once
// The problems list under the tree: one entry per problem of the script as
// it would be saved, with its icon, message and section. Activating an entry
// (double click, Enter) asks for the item it names.

#include "script/check/CheckProblem.h"

#include <QWidget>

#include <vector>

class CProblemsModel;
class QLabel;
class QTreeView;

class CProblemsPane : public QWidget
{
    Q_OBJECT
public:
    explicit CProblemsPane(QWidget *parent = nullptr);

    void SetProblems(const std::vector<CheckProblem> &problems);
    int Count() const;
    QTreeView &List() const { return *m_list; }
    // Moves to the entry after (before) the current one, wrapping, and activates it.
    void Step(int direction);

signals:
    void ProblemActivated(const CheckProblem &problem);

private:
    void Activate(int row);

    int CurrentRow() const;

    CProblemsModel *m_model;
    QLabel *m_caption;
    QTreeView *m_list;
};
