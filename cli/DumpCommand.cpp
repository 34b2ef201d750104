#include "cli/DumpCommand.h"

#include "cli/Commands.h"
#include "cli/DumpWriter.h"
#include "cli/JsonWriter.h"
#include "cli/LocaleOption.h"
#include "cli/StandardStreams.h"
#include "framework/ModalUi.h"
#include "script/DateValue.h"
#include "script/SynchArray.h"

#include "script/check/OverviewTable.h"

#include <cstdio>
#include <memory>

namespace {

// The overview's table: every record is held, for the values in effect.
int DumpCsv(const QString &path)
{
    CSynchArray document;
    document.LoadScript(path);
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUnreadable;
    const QByteArray bytes = OverviewCsv(document);
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0) {
        ModalUi().ShowMessage(QStringLiteral("mbscript dump: the CSV could not be written to standard output."));
        return kExitUnwritable;
    }
    return kExitOk;
}

} // namespace

int RunDump(const QStringList &argumentsIn)
{
    QStringList arguments = argumentsIn;
    if (arguments.size() == 1 && (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h")))
        return PrintCommandHelp("dump");
    std::optional<QLocale> locale;
    bool csv = false;
    while (!arguments.isEmpty() && arguments[0].startsWith(QLatin1String("--"))) {
        if (arguments[0] == QLatin1String("--csv")) {
            csv = true;
            arguments.remove(0);
            continue;
        }
        if (!arguments[0].startsWith(QLatin1String("--locale")))
            break;
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
    if (csv)
        return DumpCsv(InputPath(arguments.first()));
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
