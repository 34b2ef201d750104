#include "cli/Commands.h"
#include "framework/HugePages.h"
#include "framework/ModalUi.h"
#include "framework/StderrModalUi.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    // check holds every action's record while its rules compare them; dump
    // holds little more than the script's text, which huge pages would round
    // up by megabytes, and is as fast without them.
    if (argc > 1 && std::strcmp(argv[1], "check") == 0)
        AskForHugePages(argv);
    // The toolkit's core only: resave, which needs widgets, runs as a program of its own.
    QCoreApplication app(argc, argv);
    StderrModalUi stderrUi;
    ScopedModalUi ui(stderrUi);
    const int status = RunCommandLine(QCoreApplication::arguments().mid(1));
    // Everything is written; what is left in memory goes with the process.
    std::fflush(nullptr);
    std::_Exit(status);
}
