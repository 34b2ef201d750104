#pragma once
// The two forms `mbscript check` prints its problems in: one line each in the
// form compilers use (FILE:LINE: warning|error: message [rule-id]) with a
// summary line per file, or a JSON list of objects.

#include "script/check/CheckProblem.h"

#include <QString>

class CJsonWriter;

// "FILE:LINE: severity: message [rule]\n"; a problem of the whole file (line 0) has no LINE.
QString CheckProblemLine(const CheckProblem &problem);

// "FILE: no problems\n" or "FILE: 1 error, 2 warnings\n".
QString CheckSummaryLine(const QString &file, int errors, int warnings);

// One object of the JSON list: {"file", "line", "section", "key", "severity", "rule",
// "message"}, on its own line, after a comma unless it is the `first`.
void WriteCheckProblemJson(CJsonWriter &json, const CheckProblem &problem, bool first);
