#pragma once
// The editor's undo history: the steps done, the steps undone (until a new
// step drops them) and the clean point, the step at which the script was last
// loaded or saved. A step that was never recorded leaves the history clean.

#include "app/EditStep.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class QTreeWidget;

class CEditHistory : public QObject
{
    Q_OBJECT
public:
    explicit CEditHistory(QTreeWidget &tree, QObject *parent = nullptr);
    ~CEditHistory() override;

    // Adds a step that has been done; the undone steps go.
    void Push(std::unique_ptr<CEditStep> step);
    bool CanUndo() const { return m_nDone > 0; }
    bool CanRedo() const { return m_nDone < m_steps.size(); }
    void Undo();
    void Redo();
    // True while a step is being undone or redone.
    bool IsReplaying() const { return m_bReplaying; }

    // Forgets every step: a new script, loaded or started, clean.
    void Clear();
    // The script was saved as it is now.
    void SetClean();
    bool IsClean() const { return m_nClean == m_nDone; }

signals:
    // Anything of the above may have changed.
    void Changed();

private:
    QTreeWidget &m_tree;
    std::vector<std::unique_ptr<CEditStep>> m_steps;
    size_t m_nDone = 0;
    // Steps done at the clean point; none when that point was dropped.
    std::optional<size_t> m_nClean = 0;
    bool m_bReplaying = false;
};
