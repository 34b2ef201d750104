#include "app/CommandLine.h"

#include "framework/FileName.h"

QString CCommandLine::ScriptPath(int argc, const char *const *argv)
{
    QByteArray path;
    for (int i = 1; i < argc; ++i)
        path += (i > 1 ? " " : "") + QByteArray(argv[i]);
    if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"'))
        path = path.mid(1, path.size() - 2);
    return FileNameFromBytes(path);
}
