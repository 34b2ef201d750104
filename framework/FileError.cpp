#include "framework/FileError.h"

#include "framework/FileName.h"
#include "framework/ModalUi.h"

QString FileErrorText(const QString &action, const QString &path, const QString &cause)
{
    QString text = QStringLiteral("Cannot %1 the file \"%2\".").arg(action, ShownFileName(path));
    if (!cause.isEmpty())
        text += QLatin1Char('\n') + cause;
    return text;
}

void ReportFileError(const QString &action, const QString &path, const QString &cause)
{
    ModalUi().ShowMessage(FileErrorText(action, path, cause));
}
