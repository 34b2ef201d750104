#include "cli/DumpCommand.h"

#include "cli/Commands.h"
#include "cli/DumpWriter.h"
#include "cli/JsonWriter.h"
#include "cli/StandardStreams.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"

int RunDump(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return UsageError(arguments.isEmpty() ? QStringLiteral("mbscript dump: no FILE given")
                                              : QStringLiteral("mbscript dump: exactly one FILE expected"));
    // Each action is written as it is loaded and then forgotten, so the
    // records of the whole script are never held at once.
    CSynchArray document;
    CJsonWriter json(stdout);
    CDumpWriter dump(json);
    document.StreamScript(InputPath(arguments.first()), dump);
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUnreadable;
    if (!dump.Finish(document)) {
        ModalUi().ShowMessage(QStringLiteral("mbscript dump: the JSON could not be written to standard output."));
        return kExitUnwritable;
    }
    return kExitOk;
}
