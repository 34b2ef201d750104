#include "script/check/CheckRules.h"

#include <array>

namespace {

constexpr std::array kRules{
    CheckRule{"unknown-key", "a key the editor does not read (keys starting with ';' or '#' are taken as comments)"},
    CheckRule{"key-not-matched", "a known key with a space before its '=': lookups never match it"},
    CheckRule{"duplicate-key", "a key set twice in a section: the first line wins"},
    CheckRule{"duplicate-section", "a section that appears again: the first one wins"},
    CheckRule{"unloaded-section", "a section named like an action that never loads (Action07, Action0x10)"},
    CheckRule{"before-first-header", "a line before the first section header"},
    CheckRule{"bad-header", "a header without its closing ']'"},
    CheckRule{"no-sections", "a file without any section header"},
    CheckRule{"invalid-date", "a date the locale's short date format cannot read"},
    CheckRule{"future-date", "a Min Date Filter after today: the action copies nothing until then"},
    CheckRule{"bad-number", "a number with junk, out of range, or a flag other than 0 or 1"},
    CheckRule{"unknown-code", "an operation, sort code or attribute bit the editor has no text for"},
    CheckRule{"empty-override", "an empty value that wipes out what Default sets"},
    CheckRule{"path-form", "a path resolved against the working folder or current drive, or with quotes, "
                           "edge spaces, a trailing dot or a character Windows forbids"},
    CheckRule{"mask-form", "a file mask piece holding a space (pieces are separated by ';')"},
    CheckRule{"missing-path", "an action without a source or target (error)"},
    CheckRule{"same-path", "an action whose source and target are the same folder (error)"},
    CheckRule{"nested-paths", "an action whose target lies inside its source or the reverse (error)"},
    CheckRule{"root-target", "Update & Prune into a drive root or a bare share (error); Remove Duplicates there"},
    CheckRule{"shared-target", "two actions that write files into the same folder or one inside the other"},
    CheckRule{"prune-shared-target", "an action that prunes a folder another action writes into (error)"},
    CheckRule{"run-order", "an action reading a folder that a later action writes into"},
    CheckRule{"empty-filter", "a size or date filter that matches nothing"},
    CheckRule{"no-actions", "a script without any action that loads"},
    CheckRule{"bad-ignore", "an ignore line naming no rule"},
};
static_assert(kRules.size() <= 64, "a CheckRuleSet holds 64 rules");

bool IsSeparator(QChar c)
{
    return c == u' ' || c == u'\t' || c == u',';
}

} // namespace

std::span<const CheckRule> CheckRules()
{
    return kRules;
}

int CheckRuleIndex(QStringView id)
{
    for (size_t i = 0; i < kRules.size(); ++i)
        if (id == QLatin1StringView(kRules[i].id))
            return int(i);
    return -1;
}

bool ParseIgnoreLine(QStringView line, CheckRuleSet &rules, QStringList &unknown)
{
    if (line.isEmpty() || (line[0] != u';' && line[0] != u'#'))
        return false;
    QStringView rest = line.mid(1).trimmed();
    constexpr QStringView kTool(u"mbscript:");
    if (!rest.startsWith(kTool))
        return false;
    rest = rest.mid(kTool.size()).trimmed();
    constexpr QStringView kIgnore(u"ignore");
    if (!rest.startsWith(kIgnore) || (rest.size() > kIgnore.size() && !IsSeparator(rest[kIgnore.size()])))
        return false;
    rest = rest.mid(kIgnore.size());
    rules = 0;
    unknown.clear();
    for (qsizetype i = 0; i < rest.size();) {
        while (i < rest.size() && IsSeparator(rest[i]))
            ++i;
        const qsizetype start = i;
        while (i < rest.size() && !IsSeparator(rest[i]))
            ++i;
        if (i == start)
            break;
        const QStringView word = rest.mid(start, i - start);
        if (const int index = CheckRuleIndex(word); index >= 0)
            rules |= RuleBit(index);
        else
            unknown << word.toString();
    }
    return true;
}

QString IgnoreLine(const QString &rule)
{
    return QStringLiteral("; mbscript: ignore ") + rule;
}
