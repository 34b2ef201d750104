#pragma once
// The `--locale NAME` option of check and dump: dates are read in that
// locale's short date format, as on the engine's machine.

#include <QLocale>
#include <QString>

#include <optional>

// Takes the NAME of `mbscript COMMAND --locale NAME` (nothing when none
// followed): -1 with `locale` set, or the status of the usage error it
// reported. "C" and "POSIX" name the C locale; an unknown name is an error.
int ReadLocaleOption(const char *command, const std::optional<QString> &name, std::optional<QLocale> &locale);
