// startup_bench SCRIPT: starts the editor on SCRIPT as marrowpad does, and as
// soon as its window is shown with the script's actions in the tree, prints
// the milliseconds since main began (after the restart that asks for huge pages) and ends the process at once (so that
// `/usr/bin/time startup_bench SCRIPT` measures start to window, process
// start-up included). Run it on the offscreen platform.

#include "app/AppDlg.h"
#include "framework/HugePages.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    AskForHugePages(argv);
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_bench SCRIPT\n");
        return 2;
    }
    // The user's own recent scripts and layout stay as they are.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    CAppDlg dialog(QString::fromLocal8Bit(argv[1]));
    dialog.show();
    QCoreApplication::processEvents();
    std::printf("%d roots shown after %lld ms\n", dialog.Tree().topLevelItemCount(),
                static_cast<long long>(sinceMain.elapsed()));
    std::fflush(stdout);
    std::_Exit(dialog.isVisible() ? 0 : 1);
}
