// marrowpad: the Marrowby script editor.

#include "app/AppApp.h"
#include "app/ProgramOptions.h"
#include "framework/HugePages.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // --help and --version need no display, so they are answered before the
    // toolkit looks for one.
    if (const std::optional<QString> answer = CProgramOptions::Answer(argc, argv)) {
        std::fputs(answer->toUtf8().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    AskForHugePages(argv);
    CAppApp app(argc, argv);
    return app.InitInstance();
}
