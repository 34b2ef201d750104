#include "app/AppApp.h"

#include "app/AppDlg.h"
#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "framework/QtModalUi.h"

CAppApp::CAppApp(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("marrowpad"));
    setWindowIcon(AppIcon());
}

int CAppApp::InitInstance()
{
    QtModalUi modalUi;
    ScopedModalUi install(modalUi);
    CAppDlg dialog(CCommandLine::ScriptPath(arguments().mid(1)));
    dialog.exec();
    return 0;
}
