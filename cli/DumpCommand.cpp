#include "cli/DumpCommand.h"

#include "cli/Commands.h"
#include "cli/DumpWriter.h"
#include "cli/JsonWriter.h"
#include "cli/LocaleOption.h"
#include "cli/StandardStreams.h"
#include "framework/ModalUi.h"
#include "script/DateValue.h"
#include "script/SynchArray.h"

#include <memory>

int RunDump(const QStringList &argumentsIn)
{
    QStringList arguments = argumentsIn;
    if (arguments.size() == 1 && (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h")))
        return PrintCommandHelp("dump");
    std::optional<QLocale> locale;
    if (!arguments.isEmpty() && arguments[0].startsWith(QLatin1String("--locale"))) {
        const bool joined = arguments[0].startsWith(QLatin1String("--locale="));
        const bool named = joined || (arguments[0] == QLatin1String("--locale") && arguments.size() >= 2);
        const std::optional<QString> name =
            named ? std::optional(joined ? arguments[0].mid(9) : arguments[1]) : std::nullopt;
        if (const int status = ReadLocaleOption("dump", name, locale); status >= 0)
            return status;
        arguments.remove(0, joined ? 1 : 2);
    }
    if (arguments.size() != 1)
        return UsageError(arguments.isEmpty() ? QStringLiteral("mbscript dump: no FILE given")
                                              : QStringLiteral("mbscript dump: exactly one FILE expected"));
    // Only this command's reading of dates changes, on this thread.
    std::unique_ptr<CScopedDateLocale> dates;
    if (locale)
        dates = std::make_unique<CScopedDateLocale>(*locale);
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
