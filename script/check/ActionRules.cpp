#include "script/check/ActionRules.h"

#include "script/DateValue.h"
#include "script/ScriptFile.h"
#include "script/SettingCatalogue.h"
#include "script/SynchArray.h"
#include "script/check/CheckContext.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

namespace {

// The operation an action runs (0 to 8), prompted or not; -1 for none.
int OperationCode(qint32 stored)
{
    if (stored >= 0 && stored <= 8)
        return stored;
    if (stored >= -10 && stored <= -2)
        return -stored - 2;
    return -1;
}

// Update & Prune, Remove Duplicates and Delete all Empty Directories remove from the target.
bool RemovesFromTarget(int code) { return code == 4 || code == 5 || code == 8; }

QString ShortOperationName(int code)
{
    const QString text = OperationTexts()[code];
    const qsizetype paren = text.indexOf(QLatin1String(" ("));
    return paren < 0 ? text : text.left(paren);
}

QString DateText(quint64 fileTime)
{
    const qint64 ms = qint64((fileTime - kUnixEpochFileTime) / 10000);
    return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).date().toString(Qt::ISODate);
}

} // namespace

void CActionRules::Run()
{
    const CSynchArray &document = m_context.Document();
    if (document.GetSize() == 0) {
        m_context.Report(0, {}, {}, CheckSeverity::Warning, "no-actions",
                         QStringLiteral("the script has no action that loads: running it does nothing"));
        return;
    }
    m_actions.reserve(size_t(document.GetSize()));
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const CSynchSettings *record = document.GetAt(i);
        m_actions.push_back({i, record, CPathKey(record->m_strPath1), CPathKey(record->m_strPath2)});
    }
    for (const Action &action : m_actions)
        CheckAction(action);
    CheckSharedTargets();
    CheckPrunedSources();
}

const QString &CActionRules::Name(qsizetype action) const { return m_context.Document().m_arrActionNames.at(action); }

qsizetype CActionRules::LineOf(qsizetype action, const char16_t *key) const
{
    const CSection *section = m_context.ActionSection(action);
    if (const qsizetype own = m_context.LineOfKey(section, QStringView(key)))
        return own;
    if (const qsizetype inherited = m_context.LineOfKey(m_context.DefaultSection(), QStringView(key)))
        return inherited;
    return section ? m_context.HeaderLine(*section) : 0;
}

void CActionRules::Report(qsizetype action, const char16_t *key, bool error, const char *rule, const QString &message)
{
    m_context.Report(LineOf(action, key), Name(action), QString::fromUtf16(key),
                     error ? CheckSeverity::Error : CheckSeverity::Warning, rule, message);
}

void CActionRules::CheckAction(const Action &action)
{
    const CSynchSettings &record = *action.record;
    const qsizetype i = action.index;
    if (action.source.IsEmpty())
        Report(i, u"Path1", true, "missing-path", QStringLiteral("%1 has no source path (Path1)").arg(Name(i)));
    if (action.target.IsEmpty())
        Report(i, u"Path2", true, "missing-path", QStringLiteral("%1 has no target path (Path2)").arg(Name(i)));
    if (!action.source.IsEmpty() && action.source == action.target)
        Report(i, u"Path2", true, "same-path",
               QStringLiteral("%1's source and target are the same folder: \"%2\"").arg(Name(i), record.m_strPath2));
    else if (record.m_bSearchSubdir != 0 && action.target.Contains(action.source))
        Report(i, u"Path1", true, "nested-paths",
               QStringLiteral("%1's source \"%2\" lies inside its target \"%3\" and subdirectories are included: "
                              "it reads what it writes").arg(Name(i), record.m_strPath1, record.m_strPath2));
    else if (record.m_bSearchSubdir != 0 && action.source.Contains(action.target))
        Report(i, u"Path2", true, "nested-paths",
               QStringLiteral("%1's target \"%2\" lies inside its source \"%3\" and subdirectories are included: "
                              "it copies into what it reads").arg(Name(i), record.m_strPath2, record.m_strPath1));

    if (record.m_nMaxSize != 0 && record.m_nMinSize > record.m_nMaxSize)
        Report(i, u"Max Size Filter", false, "empty-filter",
               QStringLiteral("%1 excludes files smaller than %2 bytes and larger than %3 bytes: it matches nothing")
                   .arg(Name(i))
                   .arg(record.m_nMinSize)
                   .arg(record.m_nMaxSize));
    if (record.m_nMaxDate != 0 && record.m_nMinDate > record.m_nMaxDate)
        Report(i, u"Max Date Filter", false, "empty-filter",
               QStringLiteral("%1 excludes files before %2 and after %3: it matches nothing")
                   .arg(Name(i), DateText(record.m_nMinDate), DateText(record.m_nMaxDate)));
}

void CActionRules::Sort(std::vector<PathEntry> &entries)
{
    std::sort(entries.begin(), entries.end(), [](const PathEntry &a, const PathEntry &b) {
        if (const int order = a.sortKey.compare(b.sortKey))
            return order < 0;
        if (a.isTarget != b.isTarget)
            return !a.isTarget;  // sources first
        return a.action < b.action;
    });
}

void CActionRules::CheckSharedTargets()
{
    std::vector<PathEntry> entries;
    for (const Action &action : m_actions)
        if (!action.target.IsEmpty())
            entries.push_back({action.target.SortKey(), &action.target, action.index, true});
    Sort(entries);
    // The folders, each with its first action, that hold the current entry.
    std::vector<const PathEntry *> holders;
    for (const PathEntry &entry : entries) {
        while (!holders.empty() && !(*holders.back()->path == *entry.path)
               && !holders.back()->path->IsPrefixFolderOf(*entry.path))
            holders.pop_back();
        if (!holders.empty() && *holders.back()->path == *entry.path) {
            const PathEntry &first = *holders.back();
            Report(entry.action, u"Path2", false, "shared-target",
                   QStringLiteral("%1 writes into the same folder as %2: \"%3\"")
                       .arg(Name(entry.action), Name(first.action), m_actions[size_t(entry.action)].record->m_strPath2));
            continue;
        }
        if (!holders.empty() && holders.back()->path->Contains(*entry.path)) {
            const PathEntry &outer = *holders.back();
            Report(entry.action, u"Path2", false, "shared-target",
                   QStringLiteral("%1's target \"%2\" lies inside %3's target \"%4\"")
                       .arg(Name(entry.action), m_actions[size_t(entry.action)].record->m_strPath2, Name(outer.action),
                            m_actions[size_t(outer.action)].record->m_strPath2));
        }
        holders.push_back(&entry);
    }
}

void CActionRules::CheckPrunedSources()
{
    std::vector<PathEntry> entries;
    bool anyPrune = false;
    for (const Action &action : m_actions) {
        if (!action.source.IsEmpty())
            entries.push_back({action.source.SortKey(), &action.source, action.index, false});
        if (!action.target.IsEmpty() && RemovesFromTarget(OperationCode(action.record->m_nOperation))) {
            entries.push_back({action.target.SortKey(), &action.target, action.index, true});
            anyPrune = true;
        }
    }
    if (!anyPrune)
        return;
    Sort(entries);

    // One folder: the actions reading it and the pruning actions writing it.
    struct Folder
    {
        const CPathKey *path;
        std::vector<qsizetype> sources;
        std::vector<qsizetype> prunes;  // not yet reported
    };
    std::vector<bool> reported(m_actions.size(), false);
    // `relation` says how the pruned target stands to the reader's source: "is", "holds" or "lies inside".
    auto report = [&](qsizetype prune, qsizetype reader, QLatin1StringView relation) {
        if (reported[size_t(prune)])
            return;
        reported[size_t(prune)] = true;
        const CSynchSettings &record = *m_actions[size_t(prune)].record;
        Report(prune, u"Path2", true, "prune-input",
               QStringLiteral("%1 (%2) removes files from its target \"%3\", which %4 %5's source \"%6\"")
                   .arg(Name(prune), ShortOperationName(OperationCode(record.m_nOperation)), record.m_strPath2,
                        relation, Name(reader), m_actions[size_t(reader)].record->m_strPath1));
    };
    // An action other than `self` among `actions`, or -1.
    auto other = [](const std::vector<qsizetype> &actions, qsizetype self) -> qsizetype {
        for (const qsizetype action : actions)
            if (action != self)
                return action;
        return -1;
    };

    std::vector<Folder> holders;  // the folders holding the current one, outermost first
    for (size_t i = 0; i < entries.size();) {
        Folder folder{entries[i].path, {}, {}};
        for (; i < entries.size() && *entries[i].path == *folder.path; ++i)
            (entries[i].isTarget ? folder.prunes : folder.sources).push_back(entries[i].action);
        while (!holders.empty() && !holders.back().path->IsPrefixFolderOf(*folder.path))
            holders.pop_back();

        // A pruned target that is another action's source.
        for (const qsizetype prune : folder.prunes)
            if (const qsizetype reader = other(folder.sources, prune); reader >= 0)
                report(prune, reader, QLatin1StringView("is"));
        for (Folder &outer : holders) {
            if (!outer.path->Contains(*folder.path))
                continue;
            // A pruned target inside another action's source.
            for (const qsizetype prune : folder.prunes)
                if (const qsizetype reader = other(outer.sources, prune); reader >= 0)
                    report(prune, reader, QLatin1StringView("lies inside"));
            // A pruned target holding another action's source.
            for (const qsizetype reader : folder.sources)
                for (const qsizetype prune : outer.prunes)
                    if (prune != reader)
                        report(prune, reader, QLatin1StringView("holds"));
            std::erase_if(outer.prunes, [&](qsizetype prune) { return reported[size_t(prune)]; });
        }
        std::erase_if(folder.prunes, [&](qsizetype prune) { return reported[size_t(prune)]; });
        holders.push_back(std::move(folder));
    }
}
