#include "cli/ResaveLauncher.h"

#include "cli/Commands.h"
#include "framework/ModalUi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <unistd.h>

int StartResave(const QStringList &arguments)
{
    // Beside mbscript as installed, and in the build folder alike.
    const QString program =
        QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(MBSCRIPT_RESAVE_PROGRAM)));
    // The arguments go back to the bytes they were decoded from, as mbscript got them.
    std::vector<QByteArray> encoded{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    execv(argv.front(), argv.data());
    const int error = errno;
    ModalUi().ShowMessage(QStringLiteral("mbscript resave: the program \"%1\" cannot be started: %2.")
                              .arg(program, QString::fromLocal8Bit(std::strerror(error))));
    return kExitUnreadable;
}
