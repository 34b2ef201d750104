#pragma once
// The editor dialog: the options tree holding the script being edited, the
// buttons that change its actions, and loading, saving and closing with the
// question before unsaved changes are lost.

#include "app/ActionCommands.h"
#include "app/HelpOpener.h"

#include <QDialog>
#include <QString>

#include <memory>

class CScriptInsight;
class CSynchArray;
class CTreeOptionsCtrl;
class QPushButton;
class QTreeWidgetItem;

class CAppDlg : public QDialog
{
    Q_OBJECT
public:
    // Opens the script at `scriptPath`, or starts a new script when it is empty.
    explicit CAppDlg(const QString &scriptPath = QString(), QWidget *parent = nullptr);
    ~CAppDlg() override;

    CTreeOptionsCtrl &Tree() const { return *m_tree; }
    // The script's path; empty for a script that was never loaded or saved.
    QString ScriptPath() const { return m_strScriptPath; }
    // The script as last loaded or saved: what changes are measured against.
    const CSynchArray &Actions() const { return *m_actions; }
    // Where F1 looks for help, and how it opens it.
    CHelpOpener &Help() { return m_help; }
    // The problems list and the values in effect.
    CScriptInsight &Insight() const { return *m_insight; }

    // Whether the tree's script differs from the one last loaded or saved.
    bool IsScriptModified() const;

    // The dialog's own size, the template's 369 x 231 dialog units.
    QSize InitialSize() const;

public slots:
    void OnShowAll();
    void OnRepeatAction();
    void OnNewAction();
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void OnLoadScript();
    void OnHelp();
    // Save (the default button, Enter): saves and stays open.
    void OnOK();
    // Close, Esc and the window's close button: asks to save, then closes.
    void OnCancel();

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

private:
    void BuildControls();
    void OnInitDialog(const QString &scriptPath);
    void StartNewScript();
    void OnSelchangedTree(QTreeWidgetItem *current);
    // Every command first writes back a value being edited in place.
    void EndEditing();
    // Loads the script at `path` in place of the current one; false (with the
    // current script untouched) when the file cannot be read.
    bool LoadScriptFile(const QString &path);
    // Writes the tree to the script's path (asking for one when there is none)
    // and makes what was written the new baseline; false when nothing was saved.
    bool SaveScript();
    // Asks whether to save a changed script; false when the user wanted it
    // saved and it was not, so the command that asked must not go on.
    bool SaveQuestion();
    void SetBaseline(std::unique_ptr<CSynchArray> actions, bool known);

    QPushButton *m_btnMoveUp = nullptr;
    QPushButton *m_btnMoveDown = nullptr;
    CTreeOptionsCtrl *m_tree = nullptr;
    QString m_strScriptPath;
    std::unique_ptr<CSynchArray> m_actions;
    // False when the baseline could not be taken: every check is then a change.
    bool m_bBaselineKnown = true;
    CActionCommands m_commands;
    CHelpOpener m_help;
    CScriptInsight *m_insight = nullptr;
};
