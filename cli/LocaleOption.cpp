#include "cli/LocaleOption.h"

#include "cli/Commands.h"

int ReadLocaleOption(const char *command, const std::optional<QString> &name, std::optional<QLocale> &locale)
{
    if (!name)
        return UsageError(
            QStringLiteral("mbscript %1: --locale needs a NAME such as en_GB").arg(QLatin1String(command)));
    const QLocale named(*name);
    // An unknown name gives the C locale.
    if (named.language() == QLocale::C && *name != QLatin1String("C") && *name != QLatin1String("POSIX"))
        return UsageError(QStringLiteral("mbscript %1: no locale is named \"%2\"").arg(QLatin1String(command), *name));
    locale = named;
    return -1;
}
