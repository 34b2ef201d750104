#pragma once
// The editor dialog: the options tree holding the script being edited, the
// buttons, keys and menus of its commands, the window's layout. Loading,
// saving and the question before unsaved changes are lost are the edited
// script's (CEditedScript).

#include "app/ActionCommands.h"
#include "app/EditHistory.h"
#include "app/EditRecorder.h"
#include "app/EditedScript.h"
#include "app/HelpOpener.h"

#include <QDialog>
#include <QString>

#include <array>

class CFindBar;
class COverviewWindow;
class CScriptInsight;
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

    // The commands on the script's actions: the buttons of the first row, in order.
    enum class Command { RepeatAction, NewAction, Delete, ShowAll, MoveUp, MoveDown };
    static constexpr int kCommandCount = 6;

    CTreeOptionsCtrl &Tree() const { return *m_tree; }
    // The script being edited: its path, its baseline, loading and saving.
    const CEditedScript &Script() const { return m_script; }
    // Where F1 looks for help, and how it opens it.
    CHelpOpener &Help() { return m_help; }
    // The problems list and the values in effect.
    CScriptInsight &Insight() const { return *m_insight; }
    const CEditHistory &History() const { return m_history; }
    // The find bar above the tree (Ctrl+F, F3, Shift+F3).
    CFindBar &FindBar() const { return *m_findBar; }
    // Every action's values side by side ("Overview", Ctrl+Shift+O).
    COverviewWindow &Overview() const { return *m_overview; }

    // The dialog's own size, the template's 369 x 231 dialog units.
    QSize InitialSize() const;

    // A button, key or menu entry of `command`: the open editor's value is
    // kept, the command recorded as one step of the history.
    void RunCommand(Command command);

public slots:
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
    // Replace (Ctrl+H): the changes chosen in its preview, one step.
    void OnReplace();

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void done(int result) override;

private:
    void BuildControls();
    QGridLayout *BuildButtons();
    // The commands by key and in the tree's context menu, and what follows changes.
    void BuildActions();
    void ShowTreeMenu(const QPoint &pos);
    // The commands' buttons and menu entries follow the current item after every change.
    void UpdateCommandStates();
    // Every command first writes back a value being edited in place.
    void EndEditing();
    // "FILE — Script Editor", marked while the history is not at its clean point.
    void UpdateTitle();
    // Load Script's drop-down menu: the recent scripts.
    void FillRecentMenu();
    // How the user left the window, for the next start.
    void RestoreLayout();
    void SaveLayout() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Each command's button, and its entry in the tree's context menu and key.
    std::array<QAbstractButton *, kCommandCount> m_commandButtons{};
    std::array<QAction *, kCommandCount> m_commandActions{};
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    // Load Script's drop-down menu: the scripts opened last.
    QMenu *m_recentMenu = nullptr;
    CTreeOptionsCtrl *m_tree = nullptr;
    CActionCommands m_commands;
    CEditHistory m_history;
    CEditRecorder m_recorder;
    CHelpOpener m_help;
    CScriptInsight *m_insight = nullptr;
    CFindBar *m_findBar = nullptr;
    COverviewWindow *m_overview = nullptr;
    // Uses the tree, the commands and the history: declared after them, it goes first.
    CEditedScript m_script;
};
