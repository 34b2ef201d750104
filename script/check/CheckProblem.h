#pragma once
// One problem the checker found in a script: where it is (file, line,
// section, key), how bad it is, which rule found it and what it means.

#include <QString>
#include <QtGlobal>

enum class CheckSeverity { Warning, Error };

struct CheckProblem
{
    QString file;
    qsizetype line = 0; // 1-based; 0 for the script as a whole
    QString section;    // empty for lines that belong to no section
    QString key;        // empty for a section or the whole script
    CheckSeverity severity = CheckSeverity::Warning;
    QString rule; // the rule's id, e.g. "unknown-key"
    QString message;
};

inline QString SeverityName(CheckSeverity severity)
{
    return severity == CheckSeverity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}
