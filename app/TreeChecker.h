#pragma once
// Checks the script as the tree would save it, while the user edits: after a
// pause it writes the tree to text in memory, a slice of roots at a time
// between the user's events, and checks that text on a worker thread; a run
// overtaken by a newer edit is abandoned. The pause grows with the script, so
// typing in a big script never waits for a check.

#include "script/SynchArray.h"
#include "script/check/CheckProblem.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CScriptWriter;
class CTreeOptionsCtrl;

struct CheckResult
{
    CSynchArray document; // the tree's script, loaded as the editor loads
    std::vector<CheckProblem> problems;
};

class CTreeChecker : public QObject
{
    Q_OBJECT
public:
    // `document` gives what the tree does not show (lines before the first
    // header, sections not loaded) and the script's path.
    CTreeChecker(const CTreeOptionsCtrl &tree, std::function<const CSynchArray &()> document,
                 QObject *parent = nullptr);
    ~CTreeChecker() override;

    // The tree changed: check again after the pause.
    void Schedule();
    // Checks now, on this thread (start-up, tests).
    void CheckNow();
    // A check waiting for its pause starts at once, as a check after the pause does.
    void Hurry();
    // The latest result (never null after the first check).
    std::shared_ptr<const CheckResult> Latest() const { return m_latest; }
    // The latest result is of the tree as it is: no edit since.
    bool IsCurrent() const { return m_latest && m_nLatestGeneration == *m_generation; }

signals:
    void Checked();

private:
    QString TreeText() const;
    void StartRun();
    void WriteSlice();
    void StopWriting();
    void Deliver(int generation, std::shared_ptr<const CheckResult> result);

    const CTreeOptionsCtrl &m_tree;
    std::function<const CSynchArray &()> m_document;
    QTimer m_pause;
    QTimer m_slice;
    // The run being written: its writer, the document it reads and the next root.
    std::unique_ptr<CScriptWriter> m_writer;
    const CSynchArray *m_pWriterDocument = nullptr;
    int m_nWriterGeneration = 0;
    int m_nNextRoot = 0;
    // Each edit makes earlier runs stale; shared with the running workers.
    std::shared_ptr<std::atomic<int>> m_generation = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<const CheckResult> m_latest;
    int m_nLatestGeneration = -1;
};
