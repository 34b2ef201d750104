#pragma once
// The problems list under the tree: one entry per problem of the script as
// it would be saved, with its icon, message, section and setting. Activating
// an entry (double click, Enter) asks for the item it names; its context menu
// (right click, the menu key, Shift+F10) asks to quiet its rule in its action
// or in the whole script.

#include "script/check/CheckProblem.h"

#include <QWidget>

#include <functional>

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
    // Whether a problem's section is one the script shows, which "Ignore in
    // This Action" can write into.
    void SetSectionShown(std::function<bool(const QString &section)> shown) { m_sectionShown = std::move(shown); }

signals:
    void ProblemActivated(const CheckProblem &problem);
    // "Ignore in This Action" (`wholeScript` false) or "Ignore in This Script".
    void IgnoreRequested(const CheckProblem &problem, bool wholeScript);

private:
    void Activate(int row);
    void ShowMenu(const QPoint &pos);

    int CurrentRow() const;

    std::function<bool(const QString &)> m_sectionShown;
    CProblemsModel *m_model;
    QLabel *m_caption;
    QTreeView *m_list;
};
