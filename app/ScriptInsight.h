#pragma once
// What the editor tells about the script as the user edits it: the problems
// list under the tree and the values in effect beside it, each shown and
// hidden with its button, F8 and Shift+F8 to step through the problems, and
// the value in effect of a setting item for its tooltip. Follows the tree as
// it would be saved, through CTreeChecker.

#include "app/TreeChecker.h"

#include <QObject>

#include <functional>

class CEditRecorder;
class CProblemsPane;
class CTreeOptionsCtrl;
class CValuesPane;
class QPushButton;
class QSettings;
class QSplitter;
class QTreeWidgetItem;
class QWidget;
struct CheckProblem;

class CScriptInsight : public QObject
{
    Q_OBJECT
public:
    // Takes the tree into its splitters (see Area); `document` as for
    // CTreeChecker; the ignore lines are recorded through `recorder`.
    CScriptInsight(CTreeOptionsCtrl &tree, std::function<const CSynchArray &()> document, CEditRecorder &recorder,
                   QWidget *dialog);

    // The tree with the panes around it, for the dialog's layout.
    QWidget *Area() const;
    QPushButton *ProblemsButton() const { return m_btnProblems; }
    QPushButton *ValuesButton() const { return m_btnValues; }
    CProblemsPane &Problems() const { return *m_problems; }
    CValuesPane &Values() const { return *m_values; }
    CTreeChecker &Checker() { return m_checker; }

    // For a setting item, its value in effect and where it comes from; else empty.
    QString ValueInEffectText(const QTreeWidgetItem *item) const;

    // The splitters and the lists' columns as the user left them; at a first
    // start the tree is `firstTreeWidth` wide and the values have room.
    void SaveLayout(QSettings &settings) const;
    void RestoreLayout(const QSettings &settings, int firstTreeWidth);

private:
    void OnChecked();
    void OnCurrentChanged();
    void SelectProblem(const CheckProblem &problem);
    void Ignore(const CheckProblem &problem, bool wholeScript);
    void StepProblem(int direction);
    void ToggleProblems();
    void ToggleValues();
    void UpdateVisibility();

    CTreeOptionsCtrl &m_tree;
    std::function<const CSynchArray &()> m_document;
    CEditRecorder &m_recorder;
    CTreeChecker m_checker;
    QSplitter *m_vertical;
    QSplitter *m_horizontal;
    CProblemsPane *m_problems;
    CValuesPane *m_values;
    QPushButton *m_btnProblems;
    QPushButton *m_btnValues;
    // The user hid a pane that has something to show; cleared when it has nothing.
    bool m_bProblemsHidden = false;
    bool m_bValuesHidden = false;
};
