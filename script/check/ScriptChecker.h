#pragma once
// Finds what would make a backup go wrong in a script the engine reads
// without a word: how it reads, what its values say, and what its actions
// do once they inherit from "Default". Works on the loader's document, so it
// sees exactly what the editor sees; knows nothing of widgets.
//
// The problems come as they are found: section by section in file order
// (each with the problems of its lines, its values and, for an action, what
// it does alone), then those across actions. Rules named in `ignored`, in a
// "; mbscript: ignore RULE..." line before the first header (the whole
// script) or in a section (that section) are not reported. Dates are read in
// the date locale (CScopedDateLocale).

#include "script/check/CheckProblem.h"
#include "script/check/CheckRules.h"

#include <QByteArray>
#include <QString>

#include <vector>

class CSynchArray;
class ICheckSink;

class CScriptChecker
{
public:
    static void Check(const CSynchArray &document, ICheckSink &sink, CheckRuleSet ignored = 0);
    // The same, the problems kept in a list.
    static std::vector<CheckProblem> Check(const CSynchArray &document, CheckRuleSet ignored = 0);

    // Loads the script at `path` as the editor does (invalid dates are not
    // shown: they are problems) into `document` and checks it. False, with
    // no problems, when the file cannot be read (the reader has said why).
    static bool CheckFile(const QString &path, CSynchArray &document, ICheckSink &sink, CheckRuleSet ignored = 0);

    // The same for the bytes a file holds, read as if from `path`.
    static bool CheckBytes(const QByteArray &bytes, const QString &path, CSynchArray &document,
                           std::vector<CheckProblem> &problems);

    // The same for script text in memory, read as if from `path`.
    static void CheckText(const QString &path, const QString &text, CSynchArray &document,
                          std::vector<CheckProblem> &problems);
};
