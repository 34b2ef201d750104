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

bool CheckLoaded(const CSynchArray &document, std::vector<CheckProblem> &problems)
{
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed) {
        problems.clear();
        return false;
    }
    problems = CScriptChecker::Check(document);
    return true;
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
    return CheckLoaded(document, problems);
}

bool CScriptChecker::CheckBytes(const QByteArray &bytes, const QString &path, CSynchArray &document,
                                std::vector<CheckProblem> &problems)
{
    document.LoadScriptFromBytes(bytes, path, nullptr, QuietDates());
    return CheckLoaded(document, problems);
}

void CScriptChecker::CheckText(const QString &path, const QString &text, CSynchArray &document,
                               std::vector<CheckProblem> &problems)
{
    document.LoadScriptText(path, text, nullptr, QuietDates());
    problems = Check(document);
}
