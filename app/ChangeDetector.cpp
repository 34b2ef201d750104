#include "app/ChangeDetector.h"

#include "script/SynchArray.h"
#include "script/tree/ScriptTree.h"

#include <QTemporaryFile>

std::unique_ptr<CSynchArray> CChangeDetector::ReadBack(const CTreeOptionsCtrl &tree, const CSynchArray &document)
{
    QTemporaryFile file;
    if (!file.open())
        return nullptr;
    const QString path = file.fileName();
    file.close(); // the name stays reserved until `file` goes

    WriteOptions quiet;
    quiet.reportErrors = false;
    quiet.announceEncodingChange = false;
    if (!WriteScript(document, path, tree, quiet))
        return nullptr;

    auto script = std::make_unique<CSynchArray>();
    LoadOptions options;
    options.reportInvalidDates = false;
    script->LoadScript(path, nullptr, options);
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
