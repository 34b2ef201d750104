#include "script/check/ActionRules.h"

#include "framework/Clock.h"
#include "script/DateValue.h"
#include "script/ScriptFile.h"
#include "script/SettingCatalogue.h"
#include "script/SynchArray.h"
#include "script/check/CheckContext.h"

#include <QDateTime>

#include <algorithm>

namespace {

// The operation an action runs (0 to 8), prompted or not; -1 when chosen at run time.
int OperationCode(qint32 stored)
{
    if (stored >= 0 && stored <= 8)
        return stored;
    if (stored >= -10 && stored <= -2)
        return -stored - 2;
    return -1;
}

// Synchronize Both, Augment, Refresh, Update, Update & Prune and Recreate
// Directory Structure put files or folders into the target.
bool WritesTarget(int code)
{
    return (code >= 0 && code <= 4) || code == 7;
}
// Update & Prune and Remove Duplicates remove files from the target.
bool Prunes(int code)
{
    return code == 4 || code == 5;
}

QString ShortOperationName(int code)
{
    if (code < 0)
        return QStringLiteral("Always Prompt");
    const QString text = OperationTexts()[code];
    const qsizetype paren = text.indexOf(QLatin1String(" ("));
    return paren < 0 ? text : text.left(paren);
}

// The local date of a file time, as the user wrote it.
QString DateText(quint64 fileTime)
{
    const qint64 ms = qint64((fileTime - kUnixEpochFileTime) / 10000);
    return QDateTime::fromMSecsSinceEpoch(ms).date().toString(Qt::ISODate);
}

// The date text the action's `key` takes its value from: its own when it reads, else Default's.
QString DateTextInEffect(const CSection *own, const CSection *defaults, QStringView key)
{
    for (const CSection *section : {own, defaults}) {
        QString raw;
        DateFields fields;
        if (section && section->GetString(key, raw) && !raw.isEmpty() && !DateError(fields, raw))
            return raw;
    }
    return {};
}

quint64 StartOfToday()
{
    const QDate today = Clock().NowUtc().toLocalTime().date();
    DateFields fields;
    fields.day = today.day();
    fields.month = today.month();
    fields.year = today.year();
    return DateToFileTime(fields, true);
}

} // namespace

CActionRules::CActionRules(CCheckContext &context) : m_context(context)
{
    const CSynchArray &document = m_context.Document();
    m_actions.reserve(size_t(document.GetSize()));
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const CSynchSettings *record = document.GetAt(i);
        m_actions.push_back(
            {record, CPathKey(record->m_strPath1), CPathKey(record->m_strPath2), OperationCode(record->m_nOperation)});
    }
    m_pruneReported.assign(m_actions.size(), false);
    m_nStartOfToday = StartOfToday();
}

const QString &CActionRules::Name(qsizetype action) const
{
    return m_context.Document().m_arrActionNames.at(action);
}

const QString &CActionRules::PathText(const Entry &entry) const
{
    const CSynchSettings &record = *m_actions[size_t(entry.action)].record;
    return entry.isTarget ? record.m_strPath2 : record.m_strPath1;
}

QString CActionRules::Operation(qsizetype action) const
{
    return ShortOperationName(m_actions[size_t(action)].operation);
}

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

void CActionRules::CheckAction(qsizetype i)
{
    const Action &action = m_actions[size_t(i)];
    const CSynchSettings &record = *action.record;
    if (action.source.IsEmpty())
        Report(i, u"Path1", true, "missing-path", QStringLiteral("%1 has no source path (Path1)").arg(Name(i)));
    if (action.target.IsEmpty())
        Report(i, u"Path2", true, "missing-path", QStringLiteral("%1 has no target path (Path2)").arg(Name(i)));
    if (action.source == action.target)
        Report(i, u"Path2", true, "same-path",
               QStringLiteral("%1's source and target are the same folder: \"%2\"").arg(Name(i), record.m_strPath2));
    else if (record.m_bSearchSubdir != 0 && action.target.Contains(action.source))
        Report(i, u"Path1", true, "nested-paths",
               QStringLiteral("%1's source \"%2\" lies inside its target \"%3\" and subdirectories are included: "
                              "it reads what it writes")
                   .arg(Name(i), record.m_strPath1, record.m_strPath2));
    else if (record.m_bSearchSubdir != 0 && action.source.Contains(action.target))
        Report(i, u"Path2", true, "nested-paths",
               QStringLiteral("%1's target \"%2\" lies inside its source \"%3\" and subdirectories are included: "
                              "it copies into what it reads")
                   .arg(Name(i), record.m_strPath2, record.m_strPath1));

    if (Prunes(action.operation) && action.target.IsRoot())
        Report(i, u"Path2", action.operation == 4, "root-target",
               QStringLiteral("%1 (%2) removes files from \"%3\", the root of a whole %4: %5")
                   .arg(Name(i), Operation(i), record.m_strPath2,
                        action.target.Key().startsWith(u'/') ? QStringLiteral("share") : QStringLiteral("drive"),
                        action.operation == 4 ? QStringLiteral("every file its source lacks goes")
                                              : QStringLiteral("every file its source also holds goes")));

    // Reversed, a range excludes the files inside it: an empty one then excludes nothing.
    if (record.m_bReverseFilters != 0)
        return;
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
    else if (record.m_nMinDate != 0 && record.m_nMinDate > m_nStartOfToday
             && !DateTextInEffect(m_context.ActionSection(i), m_context.DefaultSection(), u"Min Date Filter")
                     .startsWith(QLatin1String("%%today"), Qt::CaseInsensitive))
        Report(i, u"Min Date Filter", false, "future-date",
               QStringLiteral("%1 excludes files before %2, a day still to come: it copies nothing until then")
                   .arg(Name(i), DateText(record.m_nMinDate)));
}

void CActionRules::CheckAcross()
{
    if (m_actions.empty()) {
        m_context.Report(0, {}, {}, CheckSeverity::Warning, "no-actions",
                         QStringLiteral("the script has no action that loads: running it does nothing"));
        return;
    }
    m_entries = Entries();
    CheckPrunedShared();
    CheckSharedTargets();
    CheckRunOrder();
}

std::vector<CActionRules::Entry> CActionRules::Entries() const
{
    std::vector<Entry> entries;
    for (size_t i = 0; i < m_actions.size(); ++i) {
        const Action &action = m_actions[i];
        const int op = action.operation;
        const unsigned source = (op != 8 ? kReads : 0) | (op == 0 ? kWrites : 0);
        const unsigned target =
            (op == 0 ? kReads : 0) | (WritesTarget(op) ? kWrites | kTargetWrite : 0) | (Prunes(op) ? kPrunes : 0);
        if (source && action.source.Resolves())
            entries.push_back({action.source.SortKey(), &action.source, qsizetype(i), source, false});
        if (target && action.target.Resolves())
            entries.push_back({action.target.SortKey(), &action.target, qsizetype(i), target, true});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (const int order = a.sortKey.compare(b.sortKey))
            return order < 0;
        return a.action != b.action ? a.action < b.action : !a.isTarget;
    });
    return entries;
}

template <typename Visit>
void CActionRules::Walk(const std::vector<Entry> &entries, Visit &&visit)
{
    std::vector<Folder> holders; // outermost first
    for (size_t i = 0; i < entries.size();) {
        Folder folder{i, i, {}};
        for (; folder.end < entries.size() && *entries[folder.end].path == *entries[i].path; ++folder.end) {
            const Entry &entry = entries[folder.end];
            const bool oneWay = m_actions[size_t(entry.action)].operation != 0;
            if (entry.roles & kTargetWrite) {
                if (!folder.firstTarget)
                    folder.firstTarget = &entry;
                if (oneWay && !folder.firstOneWayTarget)
                    folder.firstOneWayTarget = &entry;
            }
            if (entry.roles & kWrites) {
                if (!folder.lastWriter || entry.action > folder.lastWriter->action)
                    folder.lastWriter = &entry;
                if (oneWay && (!folder.lastOneWayWriter || entry.action > folder.lastOneWayWriter->action))
                    folder.lastOneWayWriter = &entry;
            }
        }
        i = folder.end;
        while (!holders.empty() && !entries[holders.back().begin].path->Contains(*entries[folder.begin].path))
            holders.pop_back();
        visit(folder, holders);
        holders.push_back(std::move(folder));
    }
}

template <typename Subject, typename WriterIn, typename Meets, typename Reporter>
void CActionRules::FindWriters(std::vector<bool> &reported, Subject isSubject, WriterIn writerIn, Meets meets,
                               Reporter report)
{
    const std::vector<Entry> &entries = m_entries;
    Walk(entries, [&](Folder &folder, std::vector<Folder> &holders) {
        for (size_t k = folder.begin; k < folder.end; ++k) {
            const Entry &entry = entries[k];
            if (!isSubject(entry) || reported[size_t(entry.action)])
                continue;
            if (const Entry *writes = writerIn(folder, entry)) {
                report(entry, *writes, "");
                continue;
            }
            const Entry *writes = nullptr;
            for (auto holder = holders.rbegin(); holder != holders.rend() && !writes; ++holder)
                writes = writerIn(*holder, entry);
            if (writes)
                report(entry, *writes, "lies inside");
            else
                folder.pending.push_back(qsizetype(k));
        }
        // A subject's folder above that holds this one, which is written into.
        for (size_t k = folder.begin; k < folder.end; ++k) {
            if (!(entries[k].roles & kWrites))
                continue;
            for (Folder &holder : holders) {
                for (const qsizetype subject : holder.pending)
                    if (!reported[size_t(entries[size_t(subject)].action)]
                        && meets(entries[size_t(subject)], entries[k]))
                        report(entries[size_t(subject)], entries[k], "holds");
                std::erase_if(holder.pending,
                              [&](qsizetype subject) { return reported[size_t(entries[size_t(subject)].action)]; });
            }
        }
    });
}

void CActionRules::CheckPrunedShared()
{
    const std::vector<Entry> &entries = m_entries;
    // A writer of `folder` other than the pruning action.
    auto writer = [&](const Folder &folder, const Entry &prune) -> const Entry * {
        for (size_t k = folder.begin; k < folder.end; ++k)
            if ((entries[k].roles & kWrites) && entries[k].action != prune.action)
                return &entries[k];
        return nullptr;
    };
    auto report = [&](const Entry &prune, const Entry &writes, const char *relation) {
        m_pruneReported[size_t(prune.action)] = true;
        const QString writer = QStringLiteral("%1 (%2)").arg(Name(writes.action), Operation(writes.action));
        const QString folder = *relation ? QStringLiteral("which %1 \"%2\", a folder %3 writes into")
                                               .arg(QLatin1String(relation), PathText(writes), writer)
                                         : QStringLiteral("the folder %1 writes into as well").arg(writer);
        Report(prune.action, u"Path2", true, "prune-shared-target",
               QStringLiteral("%1 (%2) removes files from \"%3\", %4: each run deletes the files the other wrote")
                   .arg(Name(prune.action), Operation(prune.action), PathText(prune), folder));
    };
    auto prunes = [](const Entry &entry) { return (entry.roles & kPrunes) != 0; };
    auto another = [](const Entry &prune, const Entry &writes) { return writes.action != prune.action; };
    FindWriters(m_pruneReported, prunes, writer, another, report);
}

void CActionRules::CheckSharedTargets()
{
    const std::vector<Entry> &entries = m_entries;
    // The target of another action in `folder` that `entry` conflicts with: two
    // Synchronize Both actions sharing a folder are a hub, and fine.
    auto other = [&](const Folder &folder, const Entry &entry) {
        return m_actions[size_t(entry.action)].operation == 0 ? folder.firstOneWayTarget : folder.firstTarget;
    };
    Walk(entries, [&](Folder &folder, std::vector<Folder> &holders) {
        for (size_t k = folder.begin; k < folder.end; ++k) {
            const Entry &entry = entries[k];
            if (!(entry.roles & kTargetWrite) || m_pruneReported[size_t(entry.action)])
                continue;
            if (const Entry *same = other(folder, entry); same && same < &entry) {
                Report(entry.action, u"Path2", false, "shared-target",
                       QStringLiteral("%1 writes into the same folder as %2: \"%3\"")
                           .arg(Name(entry.action), Name(same->action), PathText(entry)));
                continue;
            }
            for (auto holder = holders.rbegin(); holder != holders.rend(); ++holder)
                if (const Entry *outer = other(*holder, entry)) {
                    Report(entry.action, u"Path2", false, "shared-target",
                           QStringLiteral("%1's target \"%2\" lies inside %3's target \"%4\"")
                               .arg(Name(entry.action), PathText(entry), Name(outer->action), PathText(*outer)));
                    break;
                }
        }
    });
}

void CActionRules::CheckRunOrder()
{
    std::vector<bool> reported(m_actions.size(), false);
    // Whether `writes` runs after `reads` and puts files where it reads.
    auto later = [&](const Entry &reads, const Entry &writes) {
        return (reads.roles & kReads) && (writes.roles & kWrites) && writes.action > reads.action
               && !(m_actions[size_t(reads.action)].operation == 0 && m_actions[size_t(writes.action)].operation == 0);
    };
    // The writer of `folder` that runs last, when it runs after `reads` and is no hub partner.
    auto lastWriter = [&](const Folder &folder, const Entry &reads) -> const Entry * {
        const Entry *writes =
            m_actions[size_t(reads.action)].operation == 0 ? folder.lastOneWayWriter : folder.lastWriter;
        return writes && writes->action > reads.action ? writes : nullptr;
    };
    auto report = [&](const Entry &reads, const Entry &writes, const char *relation) {
        reported[size_t(reads.action)] = true;
        const QString where =
            *relation ? QStringLiteral("which %1 \"%2\", a folder").arg(QLatin1String(relation), PathText(writes))
                      : QStringLiteral("a folder");
        Report(reads.action, reads.isTarget ? u"Path2" : u"Path1", false, "run-order",
               QStringLiteral("%1 reads \"%2\", %3 %4 writes into after it: each run copies what the previous "
                              "run left; move %1 below %4")
                   .arg(Name(reads.action), PathText(reads), where, Name(writes.action)));
    };
    auto reads = [](const Entry &entry) { return (entry.roles & kReads) != 0; };
    FindWriters(reported, reads, lastWriter, later, report);
}
