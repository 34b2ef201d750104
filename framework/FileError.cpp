#include "framework/FileError.h"

#include "framework/ModalUi.h"

#include <QDir>

QString FileErrorText(const QString &action, const QString &path, const QString &cause)
{
    QString text = QStringLiteral("Cannot %1 the file \"%2\".").arg(action, QDir::toNativeSeparators(path));
    if (!cause.isEmpty())
        text += QLatin1Char('\n') + cause;
    return text;
}

void ReportFileError(const QString &action, const QString &path, const QString &cause)
{
    ModalUi().ShowMessage(FileErrorText(action, path, cause));
}
