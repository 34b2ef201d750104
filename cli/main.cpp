#include "cli/Commands.h"
#include "framework/HugePages.h"
#include "framework/ModalUi.h"
#include "framework/StderrModalUi.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
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
