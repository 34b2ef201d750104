#include "cli/ResaveCommand.h"

#include "cli/Commands.h"
#include "script/SynchArray.h"
#include "script/tree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

int RunResave(const QStringList &arguments)
{
    QStringList paths = arguments;
    const bool complete = !paths.isEmpty() && paths.first() == QLatin1String("--complete");
    if (complete)
        paths.removeFirst();
    if (paths.size() != 2)
        return UsageError(QStringLiteral("mbscript resave: IN and OUT expected"));

    // The tree and the document live until the process ends: taking some
    // hundred thousand items down one by one would only delay the exit, and
    // main ends the process without running destructors.
    CSynchArray &document = *new CSynchArray;
    CTreeOptionsCtrl &tree = *new CTreeOptionsCtrl;  // never shown
    LoadScriptWithTree(document, paths[0], tree);
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUnreadable;
    if (complete)
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            CompleteAction(tree, tree.topLevelItem(i));
    return WriteScript(document, paths[1], tree) ? kExitOk : kExitUnwritable;
}
