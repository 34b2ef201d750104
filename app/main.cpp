// marrowpad: the Marrowby script editor.

#include "app/AppApp.h"
#include "framework/HugePages.h"

int main(int argc, char *argv[])
{
    AskForHugePages(argv);
    CAppApp app(argc, argv);
    return app.InitInstance();
}
