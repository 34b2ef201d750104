#include "app/ChangeDetector.h"

#include "script/SynchArray.h"
#include "scripttree/ScriptSaver.h"
#include "scripttree/ScriptWriter.h"

std::unique_ptr<CSynchArray> CChangeDetector::ReadBack(const CTreeOptionsCtrl &tree, const CSynchArray &document)
{
    // The bytes Save would write, made as Save makes them (a hundred sections
    // at a time, never the whole text beside its bytes), read back as Load
    // Script would read them.
    CScriptWriter writer(document, tree);
    bool becameUnicode = false;
    const QByteArray bytes = CScriptSaver::EncodeScript(writer, document.m_ScriptFile.Encoding(), becameUnicode);

    auto script = std::make_unique<CSynchArray>();
    LoadOptions options;
    options.reportInvalidDates = false;
    script->LoadScriptFromBytes(bytes, document.m_ScriptFile.m_strPath, nullptr, options);
    if (script->m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return nullptr;
    return script;
}

bool CChangeDetector::SameScript(const CSynchArray &a, const CSynchArray &b)
{
    if (a.GetSize() != b.GetSize() || !a.m_Default.IsEqual(b.m_Default))
        return false;
    for (qsizetype i = 0; i < a.GetSize(); ++i)
        if (!a.GetAt(i)->IsEqual(*b.GetAt(i)))
            return false;
    return true;
}

bool CChangeDetector::IsScriptModified(const CTreeOptionsCtrl &tree, const CSynchArray &baseline)
{
    const std::unique_ptr<CSynchArray> current = ReadBack(tree, baseline);
    return !current || !SameScript(*current, baseline);
}
