#include "cli/Commands.h"
#include "cli/ResaveCommand.h"
#include "framework/FileName.h"
#include "framework/HugePages.h"
#include "framework/ModalUi.h"
#include "framework/StderrModalUi.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // resave and set build an options tree and need the widgets.
    const bool resave = argc > 1 && (std::strcmp(argv[1], "resave") == 0 || std::strcmp(argv[1], "set") == 0);
    // check holds every action's record while its rules compare them, resave
    // a tree; dump holds little more than the script's text, which huge pages
    // would round up by megabytes, and is as fast without them.
    if (resave || (argc > 1 && std::strcmp(argv[1], "check") == 0))
        AskForHugePages(argv);
    // The arguments as the bytes they are: a file name need not be UTF-8.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << FileNameFromBytes(QByteArray(argv[i]));
    // The toolkit never sees the arguments: those that look like its own
    // options (-style=x, -reverse) are the commands' like any other.
    static int toolkitArgc = 1;
    static char *toolkitArgv[] = {argv[0], nullptr};
    const std::unique_ptr<QCoreApplication> app = resave ? StartWidgetsForResave(toolkitArgc, toolkitArgv)
                                                         : std::make_unique<QCoreApplication>(toolkitArgc, toolkitArgv);
    StderrModalUi stderrUi;
    ScopedModalUi ui(stderrUi);
    const int status = RunCommandLine(arguments);
    // Everything is written; what is left in memory goes with the process.
    std::fflush(nullptr);
    std::_Exit(status);
}
