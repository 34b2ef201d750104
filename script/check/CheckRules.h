#pragma once
// Every rule of the checker by its id, with the line that explains it (for
// help texts), and the rules a "; mbscript: ignore RULE..." line names.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <span>

struct CheckRule
{
    const char *id;
    const char *summary;
};

// The rules in the order the help lists them.
std::span<const CheckRule> CheckRules();
// The index of a rule in CheckRules(), or -1 for no rule of that id.
int CheckRuleIndex(QStringView id);

// A set of rules, one bit per index of CheckRules().
using CheckRuleSet = std::uint64_t;
inline CheckRuleSet RuleBit(int index)
{
    return index < 0 ? 0 : CheckRuleSet(1) << index;
}

// For a line "; mbscript: ignore RULE[,RULE...]" (';' or '#', spaces and
// commas between the rules): true, with the known rules in `rules` and any
// word that is no rule in `unknown`. False for any other line.
bool ParseIgnoreLine(QStringView line, CheckRuleSet &rules, QStringList &unknown);

// The line that quiets `rule`, as the editor writes it.
QString IgnoreLine(const QString &rule);
