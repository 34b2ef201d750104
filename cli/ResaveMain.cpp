// mbscript-resave: `mbscript resave` (see ResaveLauncher.h). Its arguments are
// those given after "resave".

#include "cli/ResaveCommand.h"
#include "framework/HugePages.h"
#include "framework/ModalUi.h"
#include "framework/StderrModalUi.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

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
    // No window is ever shown: the offscreen platform serves unless one is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler previous = qInstallMessageHandler(QuietSetUp);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    StderrModalUi stderrUi;
    ScopedModalUi ui(stderrUi);
    const int status = RunResave(QCoreApplication::arguments().mid(1));
    // Everything is written; the tree goes with the process, without being
    // taken down item by item.
    std::fflush(nullptr);
    std::_Exit(status);
}
