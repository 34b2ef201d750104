#include "cli/Commands.h"
#include "framework/ModalUi.h"
#include "framework/StderrModalUi.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    StderrModalUi stderrUi;
    ScopedModalUi ui(stderrUi);
    return RunCommandLine(app.arguments().mid(1));
}
