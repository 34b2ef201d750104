#include "cli/ResaveCommand.h"

#include "cli/Commands.h"
#include "cli/StandardStreams.h"
#include "script/tree/ScriptRewriter.h"
#include "treeoptions/TreeOptionsCtrl.h"

int RunResave(const QStringList &arguments)
{
    QStringList paths = arguments;
    const bool complete = !paths.isEmpty() && paths.first() == QLatin1String("--complete");
    if (complete)
        paths.removeFirst();
    if (paths.size() != 2)
        return UsageError(QStringLiteral("mbscript resave: IN and OUT expected"));

    // The rewriter and its tree live until the process ends, which main
    // ends without running destructors.
    CTreeOptionsCtrl &tree = *new CTreeOptionsCtrl;  // never shown
    CScriptRewriter &rewriter = *new CScriptRewriter(tree, complete);
    switch (rewriter.Rewrite(InputPath(paths[0]), OutputPath(paths[1]))) {
    case CScriptRewriter::Result::Written:
        return kExitOk;
    case CScriptRewriter::Result::Unreadable:
        return kExitUnreadable;
    case CScriptRewriter::Result::Unwritable:
        break;
    }
    return kExitUnwritable;
}
