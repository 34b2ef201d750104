#pragma once
// The rules about what the actions do once they inherit from "Default":
// missing, identical and nested paths, a prune into a drive root, filters that
// match nothing or nothing yet, and, across actions, folders that several
// write into, a prune into a folder another writes into, and an action that
// reads what a later one writes.

#include "script/check/PathKey.h"

#include <QString>

#include <vector>

class CCheckContext;
class CSynchSettings;

class CActionRules
{
public:
    explicit CActionRules(CCheckContext &context);
    // The rules of action `index` alone.
    void CheckAction(qsizetype index);
    // The rules across actions, and a script without any.
    void CheckAcross();

private:
    struct Action
    {
        const CSynchSettings *record;
        CPathKey source;
        CPathKey target;
        int operation; // 0 to 8, -1 when chosen at run time
    };
    // A folder of an action and what the action does with it.
    static constexpr unsigned kReads = 1, kWrites = 2, kPrunes = 4, kTargetWrite = 8;
    struct Entry
    {
        QString sortKey;
        const CPathKey *path;
        qsizetype action;
        unsigned roles;
        bool isTarget;
    };
    // One folder of the sorted entries: [begin, end) share its path.
    struct Folder
    {
        size_t begin;
        size_t end;
        std::vector<qsizetype> pending; // actions a folder inside it may still report
        // Its first targets written into, and its writers that run last; "one-way":
        // not Synchronize Both, which shares a folder with another as a hub.
        const Entry *firstTarget = nullptr;
        const Entry *firstOneWayTarget = nullptr;
        const Entry *lastWriter = nullptr;
        const Entry *lastOneWayWriter = nullptr;
    };
    // Calls `visit(folder, holders)` for each folder, in sorted order, with the
    // folders that hold it, outermost first.
    template <typename Visit>
    void Walk(const std::vector<Entry> &entries, Visit &&visit);
    // Reports each entry `isSubject` picks (once an action) that meets a
    // writer in its own folder, one holding it (`writerIn` finds it in a
    // folder) or one inside it (`meets` says whether that writer counts).
    template <typename Subject, typename WriterIn, typename Meets, typename Reporter>
    void FindWriters(std::vector<bool> &reported, Subject isSubject, WriterIn writerIn, Meets meets, Reporter report);
    // Every folder of every action, sorted.
    std::vector<Entry> Entries() const;

    void CheckPrunedShared();
    void CheckSharedTargets();
    void CheckRunOrder();

    // Where the action's key is set: its own line, "Default"'s, else the action's header.
    qsizetype LineOf(qsizetype action, const char16_t *key) const;
    const QString &Name(qsizetype action) const;
    const QString &PathText(const Entry &entry) const;
    QString Operation(qsizetype action) const;
    void Report(qsizetype action, const char16_t *key, bool error, const char *rule, const QString &message);

    CCheckContext &m_context;
    std::vector<Action> m_actions;
    std::vector<Entry> m_entries;
    std::vector<bool> m_pruneReported;
    quint64 m_nStartOfToday = 0;
};
