#pragma once
// A small JSON text builder that prints every integer exactly (64-bit
// unsigned ones included), which QJsonValue cannot.

#include <QString>
#include <QStringList>
#include <QtGlobal>

// A JSON string literal: quotes, backslashes and control characters escaped.
QString JsonString(const QString &text);
QString JsonStringArray(const QStringList &texts);
