#include "cli/Commands.h"
#include "framework/HugePages.h"
#include "framework/ModalUi.h"
#include "framework/StderrModalUi.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Whether the command builds an options tree (which needs the widget toolkit).
bool NeedsWidgets(int argc, char *argv[])
{
    return argc > 1 && std::strcmp(argv[1], "resave") == 0;
}

// The toolkit's set-up chatter (a missing runtime folder and the like) is no
// concern of a headless tool; mbscript's own messages do not go this way.
void QuietSetUp(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    AskForHugePages(argv);
    std::unique_ptr<QCoreApplication> app;
    if (NeedsWidgets(argc, argv)) {
        // No window is ever shown: the offscreen platform serves unless one is named.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        const QtMessageHandler previous = qInstallMessageHandler(QuietSetUp);
        app = std::make_unique<QApplication>(argc, argv);
        qInstallMessageHandler(previous);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    StderrModalUi stderrUi;
    ScopedModalUi ui(stderrUi);
    const int status = RunCommandLine(QCoreApplication::arguments().mid(1));
    // Everything is written; what is left in memory goes with the process,
    // without taking the toolkit and any tree down piece by piece.
    std::fflush(nullptr);
    std::_Exit(status);
}
