#include "cli/LocaleOption.h"

std::optional<QLocale> LocaleNamed(const QString &name)
{
    const QLocale locale(name);
    // An unknown name gives the C locale.
    if (locale.language() == QLocale::C && name != QLatin1String("C") && name != QLatin1String("POSIX"))
        return std::nullopt;
    return locale;
}
