#include "app/AppApp.h"

#include "app/AppDlg.h"
#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "framework/QtModalUi.h"

CAppApp::CAppApp(int &argc, char **argv) : QApplication(argc, argv), m_argc(argc), m_argv(argv)
{
    setApplicationName(QStringLiteral("marrowpad"));
    setWindowIcon(AppIcon());
}

int CAppApp::InitInstance()
{
    QtModalUi modalUi;
    ScopedModalUi install(modalUi);
    CAppDlg dialog(CCommandLine::ScriptPath(m_argc, m_argv));
    dialog.exec();
    return 0;
}
