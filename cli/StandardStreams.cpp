#include "cli/StandardStreams.h"

#include "framework/FileSaver.h"

QString InputPath(const QString &argument)
{
    return argument == QLatin1String("-") ? QStringLiteral("/dev/stdin") : argument;
}

QString OutputPath(const QString &argument)
{
    return argument == QLatin1String("-") ? QString::fromLatin1(CFileSaver::kStandardOutput) : argument;
}
