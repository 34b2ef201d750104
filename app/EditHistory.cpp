#include "app/EditHistory.h"

#include <QScopedValueRollback>

CEditHistory::CEditHistory(QTreeWidget &tree, QObject *parent) : QObject(parent), m_tree(tree) {}

CEditHistory::~CEditHistory() = default;

void CEditHistory::Push(std::unique_ptr<CEditStep> step)
{
    if (!step || step->IsEmpty())
        return;
    m_steps.resize(m_nDone);
    if (m_nClean && *m_nClean > m_nDone)
        m_nClean.reset(); // the saved state was undone and is now out of reach
    m_steps.push_back(std::move(step));
    ++m_nDone;
    emit Changed();
}

void CEditHistory::Undo()
{
    if (!CanUndo())
        return;
    {
        QScopedValueRollback replaying(m_bReplaying, true);
        m_steps[--m_nDone]->Undo(m_tree);
    }
    emit Changed();
}

void CEditHistory::Redo()
{
    if (!CanRedo())
        return;
    {
        QScopedValueRollback replaying(m_bReplaying, true);
        m_steps[m_nDone++]->Redo(m_tree);
    }
    emit Changed();
}

void CEditHistory::Clear()
{
    m_steps.clear();
    m_nDone = 0;
    m_nClean = 0;
    emit Changed();
}

void CEditHistory::SetClean()
{
    m_nClean = m_nDone;
    emit Changed();
}
