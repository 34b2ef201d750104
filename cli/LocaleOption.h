#pragma once
// The `--locale NAME` option of check and dump: dates are read in that
// locale's short date format, as on the engine's machine.

#include <QLocale>
#include <QString>

#include <optional>

// The locale `name` ("en_GB", "de_DE", "C") names; nothing for a name no
// locale has.
std::optional<QLocale> LocaleNamed(const QString &name);
