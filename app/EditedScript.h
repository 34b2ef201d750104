#pragma once
// The script being edited, from opening to closing: its path, the script as
// last loaded or saved (the baseline changes are measured against), loading
// one in place of another, Save and Save As, the question before unsaved
// changes are lost, and handing each opened or saved script to the recent
// scripts and the recovery files. The tree holds the script; the user is
// asked and told through ModalUi().

#include "app/RecoveryKeeper.h"

#include <QObject>
#include <QString>

#include <memory>

class CActionCommands;
class CEditHistory;
class CSynchArray;
class CTreeOptionsCtrl;

class CEditedScript : public QObject
{
    Q_OBJECT
public:
    CEditedScript(CTreeOptionsCtrl &tree, CActionCommands &commands, CEditHistory &history, QObject *parent = nullptr);
    ~CEditedScript() override;

    // Opens the script at `path` at start-up. A path where nothing is yet
    // names a new script, which Save creates; an empty one, or one that
    // cannot be read (the user told why), starts a new, unnamed script.
    void Start(const QString &path);

    // The script's path; empty for a script that was never loaded or saved.
    QString Path() const { return m_strPath; }
    // The script as last loaded or saved: what changes are measured against.
    const CSynchArray &Baseline() const { return *m_baseline; }
    // Whether the tree's script differs from the baseline.
    bool IsModified() const;
    // Where unsaved edits are kept for recovery after a crash.
    const CRecoveryKeeper &Recovery() const { return m_recovery; }

    // Load Script: the save question, then the script the user picks.
    void LoadChosen();
    // The script at `path` (a drop), the save question first.
    void Open(const QString &path);
    // A recent script, as Open; one that does not open leaves the list.
    void OpenRecent(const QString &path);
    // Writes the tree to the script's path, asking for one when there is
    // none; what was written becomes the baseline and the clean point. False
    // when nothing was saved (the old file, path and baseline stay).
    bool Save() { return SaveTo(m_strPath); }
    // Save under a name the user chooses, which becomes the script's path.
    bool SaveAs() { return SaveTo(QString()); }
    // Close: the save question; true when the editor may close, its unsaved
    // edits then thrown away.
    bool Close();

signals:
    // A script was loaded or saved: the path and the clean point may differ.
    void Changed();

private:
    // Asks whether to save a changed script; false when the user cancelled,
    // or wanted it saved and it was not: the command that asked must not go on.
    bool SaveQuestion();
    // Loads the script at `path` in place of the current one; false (with the
    // current script untouched) when the file cannot be read.
    bool Load(const QString &path);
    // Saves at `path`, or where the user chooses when it is empty.
    bool SaveTo(QString path);
    void StartNewScript();
    void SetBaseline(std::unique_ptr<CSynchArray> baseline, bool known);

    CTreeOptionsCtrl &m_tree;
    CActionCommands &m_commands;
    CEditHistory &m_history;
    QString m_strPath;
    std::unique_ptr<CSynchArray> m_baseline;
    // False when the baseline could not be taken: every check is then a change.
    bool m_bBaselineKnown = true;
    CRecoveryKeeper m_recovery;
};
