// marrowpad: the Marrowby script editor.

#include "app/AppApp.h"

int main(int argc, char *argv[])
{
    CAppApp app(argc, argv);
    return app.InitInstance();
}
