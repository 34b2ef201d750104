#pragma once
// The editor dialog: the options tree holding the script being edited, the
// buttons that change its actions, and loading, saving and closing with the
// question before unsaved changes are lost.

#include "app/ActionCommands.h"
#include "app/EditHistory.h"
#include "app/EditRecorder.h"
#include "app/HelpOpener.h"
#include "app/RecoveryKeeper.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

class CScriptInsight;
class CSynchArray;
class CTreeOptionsCtrl;
class QAbstractButton;
class QAction;
class QMenu;
class QGridLayout;
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
    const CEditHistory &History() const { return m_history; }
    // Where unsaved edits are kept for recovery after a crash.
    const CRecoveryKeeper &Recovery() const { return m_recovery; }

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
    void OnUndo();
    void OnRedo();
    // Save (the default button, Enter): saves and stays open.
    void OnOK();
    // Saves under a name the user chooses, which becomes the script's path.
    void OnSaveAs();
    // Opens a script as Load Script does, the save question first.
    void OnOpenScript(const QString &path);
    // Close, Esc and the window's close button: asks to save, then closes.
    void OnCancel();

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void done(int result) override;

private:
    void BuildControls();
    QGridLayout *BuildButtons();
    // The commands by key and in the tree's context menu, and what follows changes.
    void BuildActions();
    void ShowTreeMenu(const QPoint &pos);
    void OnInitDialog(const QString &scriptPath);
    void StartNewScript();
    // The move buttons follow the current item after every change.
    void UpdateCommandStates();
    // Tells the user once that a file just loaded holds no script sections.
    static void TellIfNoSections(const CSynchArray &actions);
    // Every command first writes back a value being edited in place.
    void EndEditing();
    // Loads the script at `path` in place of the current one; false (with the
    // current script untouched) when the file cannot be read.
    bool LoadScriptFile(const QString &path);
    // Writes the tree to the script's path (asking for one when there is none,
    // or always with `choosePath`) and makes what was written the new
    // baseline and clean point; false when nothing was saved.
    bool SaveScript(bool choosePath = false);
    // "FILE — Script Editor", marked while the history is not at its clean point.
    void UpdateTitle();
    // Asks whether to save a changed script; false when the user cancelled,
    // or wanted it saved and it was not: the command that asked must not go on.
    bool SaveQuestion();
    void SetBaseline(std::unique_ptr<CSynchArray> actions, bool known);
    // The recent scripts: the menu lists them, a script opened or saved
    // joins them, one that no longer opens leaves them.
    void FillRecentMenu();
    void OpenRecent(const QString &path);
    static void RememberScript(const QString &path);
    // How the user left the window, for the next start.
    void RestoreLayout();
    void SaveLayout() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:

    QAbstractButton *m_btnMoveUp = nullptr;
    QAbstractButton *m_btnMoveDown = nullptr;
    // Repeat Action, Delete and Show All: enabled while an item shows selected.
    std::vector<QAbstractButton *> m_btnsOnSelection;
    // Load Script's drop-down menu: the scripts opened last.
    QMenu *m_recentMenu = nullptr;
    CTreeOptionsCtrl *m_tree = nullptr;
    QString m_strScriptPath;
    std::unique_ptr<CSynchArray> m_actions;
    // False when the baseline could not be taken: every check is then a change.
    bool m_bBaselineKnown = true;
    CActionCommands m_commands;
    CEditHistory m_history;
    CEditRecorder m_recorder;
    CHelpOpener m_help;
    // The commands of the tree's context menu and the keyboard, in menu order.
    struct TreeActions
    {
        QAction *undo, *redo, *repeat, *add, *remove, *showAll, *moveUp, *moveDown;
    } m_act{};
    CScriptInsight *m_insight = nullptr;
    CRecoveryKeeper m_recovery;
};
