#include "cli/ResaveCommand.h"

#include "cli/Commands.h"
#include "cli/StandardStreams.h"
#include "scripttree/ScriptRewriter.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>

#include <cstdio>

namespace {

// The toolkit's set-up chatter (a missing runtime folder and the like) is no
// concern of a headless tool; mbscript's own messages do not go this way.
void QuietSetUp(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

std::unique_ptr<QCoreApplication> StartWidgetsForResave(int &argc, char **argv)
{
    // Whatever platform the environment names: this one needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler previous = qInstallMessageHandler(QuietSetUp);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    return app;
}

int RunResave(const QStringList &arguments)
{
    bool complete = false;
    bool normalize = false;
    bool optionsEnd = false;
    QStringList paths;
    for (const QString &argument : arguments) {
        if (!optionsEnd && argument == QLatin1String("--complete"))
            complete = true;
        else if (!optionsEnd && argument == QLatin1String("--normalize"))
            normalize = true;
        else if (!optionsEnd && argument == QLatin1String("--"))
            optionsEnd = true;
        else if (!optionsEnd && argument.startsWith(u'-') && argument.size() > 1)
            return UsageError(QStringLiteral("mbscript resave: unknown option \"%1\"").arg(argument));
        else
            paths << argument;
    }
    if (paths.size() != 2)
        return UsageError(QStringLiteral("mbscript resave: IN and OUT expected"));

    // The rewriter and its tree live until the process ends, which main
    // ends without running destructors.
    CTreeOptionsCtrl &tree = *new CTreeOptionsCtrl; // never shown
    CScriptRewriter &rewriter = *new CScriptRewriter(tree, complete, WriteOptions(), normalize);
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
