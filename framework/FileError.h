#pragma once
#include <QString>

// The text of a file error: names the file and the system's cause.
// `action` says what was tried ("read", "write", "create" ...).
QString FileErrorText(const QString &action, const QString &path, const QString &cause);

// Shows FileErrorText through the modal UI, with an OK button.
void ReportFileError(const QString &action, const QString &path, const QString &cause);
