#include "cli/Commands.h"

#include "framework/ModalUi.h"

int UsageError(const QString &text)
{
    ModalUi().ShowMessage(text + QStringLiteral(" (see mbscript --help)"));
    return kExitUsage;
}
