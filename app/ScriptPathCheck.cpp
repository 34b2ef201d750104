#include "app/ScriptPathCheck.h"

#include "framework/FileName.h"

#include <cerrno>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>

CScriptPathCheck::Kind CScriptPathCheck::Check(const QString &path)
{
    const std::optional<QByteArray> bytes = FileNameBytes(path);
    if (!bytes)
        return Kind::File; // the reader says it names no file
    const QByteArray &name = *bytes;
    struct stat status
    {
    };
    if (::stat(name.constData(), &status) != 0)
        // Anything else (no permission, say) is the reader's to explain.
        return errno == ENOENT ? Kind::Missing : Kind::File;
    if (S_ISDIR(status.st_mode))
        return Kind::Folder;
    if (!S_ISREG(status.st_mode))
        return Kind::Special;
    // The kernel's files say they are regular and empty, yet give text.
    struct statfs fs
    {
    };
    if (::statfs(name.constData(), &fs) == 0 && (fs.f_type == PROC_SUPER_MAGIC || fs.f_type == SYSFS_MAGIC))
        return Kind::Special;
    return Kind::File;
}

QString CScriptPathCheck::Refusal(const QString &path, Kind kind)
{
    const QString shown = ShownFileName(path);
    switch (kind) {
    case Kind::Folder:
        return QStringLiteral("%1 is a folder, not a script.").arg(shown);
    case Kind::Special:
        return QStringLiteral("%1 is not a script file but a device, a pipe or a file of the system, "
                              "so it is not opened.")
            .arg(shown);
    case Kind::File:
    case Kind::Missing:
        break;
    }
    return QString();
}
