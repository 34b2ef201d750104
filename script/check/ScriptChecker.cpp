#include "script/check/ScriptChecker.h"

#include "script/SynchArray.h"
#include "script/check/ActionRules.h"
#include "script/check/CheckContext.h"
#include "script/check/CheckSink.h"
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

bool Readable(const CSynchArray &document)
{
    return document.m_ScriptFile.LastReadStatus() != ScriptReadStatus::Failed;
}

} // namespace

void CScriptChecker::Check(const CSynchArray &document, ICheckSink &sink, CheckRuleSet ignored)
{
    static const CKnownKeys keys;
    CCheckContext context(document, ignored, sink);
    CReadingRules reading(context, keys);
    CValueRules values(context);
    CActionRules actions(context);
    reading.CheckPreamble();
    const CScriptFile &file = document.m_ScriptFile;
    const qsizetype firstAction = context.DefaultSection() ? 1 : 0;
    for (qsizetype i = 0; i < file.GetCount(); ++i) {
        reading.CheckSection(*file.GetSection(i));
        const qsizetype loaded = context.LoadedIndexOf(i);
        if (loaded < 0)
            continue;
        reading.CheckKeys(size_t(loaded));
        values.CheckSection(size_t(loaded));
        if (!context.Loaded()[size_t(loaded)].isDefault)
            actions.CheckAction(loaded - firstAction);
    }
    actions.CheckAcross();
}

std::vector<CheckProblem> CScriptChecker::Check(const CSynchArray &document, CheckRuleSet ignored)
{
    CProblemList list;
    Check(document, list, ignored);
    return list.Take();
}

bool CScriptChecker::CheckFile(const QString &path, CSynchArray &document, ICheckSink &sink, CheckRuleSet ignored)
{
    document.LoadScript(path, nullptr, QuietDates());
    if (!Readable(document))
        return false;
    Check(document, sink, ignored);
    return true;
}

bool CScriptChecker::CheckBytes(const QByteArray &bytes, const QString &path, CSynchArray &document,
                                std::vector<CheckProblem> &problems)
{
    document.LoadScriptFromBytes(bytes, path, nullptr, QuietDates());
    problems = Readable(document) ? Check(document) : std::vector<CheckProblem>();
    return Readable(document);
}

void CScriptChecker::CheckText(const QString &path, const QString &text, CSynchArray &document,
                               std::vector<CheckProblem> &problems)
{
    document.LoadScriptText(path, text, nullptr, QuietDates());
    problems = Check(document);
}
