#pragma once
// Finds what would make a backup go wrong in a script the engine reads
// without a word: how it reads, what its values say, and what its actions
// do once they inherit from "Default". Works on the loader's document, so it
// sees exactly what the editor sees; knows nothing of widgets.

#include "script/check/CheckProblem.h"

#include <QByteArray>
#include <QString>

#include <vector>

class CSynchArray;

class CScriptChecker
{
public:
    // The problems of a loaded document, in file order (those of the whole
    // script last).
    static std::vector<CheckProblem> Check(const CSynchArray &document);

    // Loads the script at `path` as the editor does (invalid dates are not
    // shown: they are problems) into `document` and checks it. False, with
    // no problems, when the file cannot be read (the reader has said why).
    static bool CheckFile(const QString &path, CSynchArray &document, std::vector<CheckProblem> &problems);

    // The same for the bytes a file holds, read as if from `path`.
    static bool CheckBytes(const QByteArray &bytes, const QString &path, CSynchArray &document,
                           std::vector<CheckProblem> &problems);

    // The same for script text in memory, read as if from `path`.
    static void CheckText(const QString &path, const QString &text, CSynchArray &document,
                          std::vector<CheckProblem> &problems);
};
