#include "cli/ResaveCommand.h"

#include "cli/Commands.h"
#include "cli/StandardStreams.h"
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

    CSynchArray document;
    CTreeOptionsCtrl tree;  // never shown
    LoadScriptWithTree(document, InputPath(paths[0]), tree);
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUnreadable;
    if (complete)
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            CompleteAction(tree, tree.topLevelItem(i));
    return WriteScript(document, OutputPath(paths[1]), tree) ? kExitOk : kExitUnwritable;
}
