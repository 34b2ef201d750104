#pragma once
// The command line of the editor: everything after the program name names the
// script to open.

#include <QString>
#include <QStringList>

class CCommandLine
{
public:
    // The script path given by `arguments` (those after the program name):
    // joined by single spaces, so an unquoted path with blanks that the shell
    // split comes back whole; a path wrapped in double quotation marks (as a
    // desktop launcher passes it) is taken without them. Empty: no script.
    static QString ScriptPath(const QStringList &arguments);
};
