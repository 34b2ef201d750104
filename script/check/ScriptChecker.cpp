#include "script/check/ScriptChecker.h"

#include "script/SynchArray.h"
#include "script/check/ActionRules.h"
#include "script/check/CheckContext.h"
#include "script/check/KnownKeys.h"
#include "script/check/ReadingRules.h"
#include "script/check/ValueRules.h"

namespace {

LoadOptions QuietDates()
{
    LoadOptions options;
    options.reportInvalidDates = false;
    return options;
}

} // namespace

std::vector<CheckProblem> CScriptChecker::Check(const CSynchArray &document)
{
    static const CKnownKeys keys;
    CCheckContext context(document);
    CReadingRules(context, keys).Run();
    CValueRules(context).Run();
    CActionRules(context).Run();
    return context.TakeProblems();
}

bool CScriptChecker::CheckFile(const QString &path, CSynchArray &document, std::vector<CheckProblem> &problems)
{
    document.LoadScript(path, nullptr, QuietDates());
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed) {
        problems.clear();
        return false;
    }
    problems = Check(document);
    return true;
}

void CScriptChecker::CheckText(const QString &path, const QString &text, CSynchArray &document,
                               std::vector<CheckProblem> &problems)
{
    document.LoadScriptText(path, text, nullptr, QuietDates());
    problems = Check(document);
}
