#pragma once
// What stands at a script's path before the editor reads it: a file, nothing
// yet, or something that is no script (a folder, a pipe, a device, a file of
// the system's own pseudo file systems). Those are refused before any read,
// so a pipe can never block the window and a device is never read as text.

#include <QString>

class CScriptPathCheck
{
public:
    enum class Kind { File, Missing, Folder, Special };

    static Kind Check(const QString &path);
    // Why a folder or special file is not opened; empty for the other kinds.
    static QString Refusal(const QString &path, Kind kind);
};
