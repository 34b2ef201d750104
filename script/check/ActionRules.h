#pragma once
// The rules about what the actions do once they inherit from "Default":
// missing, identical and nested paths, targets two actions share, a pruning
// action whose target holds another's source, filters that match nothing,
// and a script without any action.

#include "script/check/PathKey.h"

#include <QString>

#include <vector>

class CCheckContext;
class CSynchSettings;

class CActionRules
{
public:
    explicit CActionRules(CCheckContext &context) : m_context(context) {}
    void Run();

private:
    struct Action
    {
        qsizetype index;
        const CSynchSettings *record;
        CPathKey source;
        CPathKey target;
    };
    // A path of an action, for the walks over sorted paths.
    struct PathEntry
    {
        QString sortKey;
        const CPathKey *path;
        qsizetype action;
        bool isTarget;
    };

    void CheckAction(const Action &action);
    void CheckSharedTargets();
    void CheckPrunedSources();
    // The entries sorted so that a folder comes right before what lies inside it.
    static void Sort(std::vector<PathEntry> &entries);

    // Where the action's key is set: its own line, "Default"'s, else the action's header.
    qsizetype LineOf(qsizetype action, const char16_t *key) const;
    const QString &Name(qsizetype action) const;
    void Report(qsizetype action, const char16_t *key, bool error, const char *rule, const QString &message);

    CCheckContext &m_context;
    std::vector<Action> m_actions;
};
