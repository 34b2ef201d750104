#pragma once
// The command line of the editor: everything after the program name names the
// script to open.

#include <QString>

class CCommandLine
{
public:
    // The script path given by the `argc` arguments `argv` (the program name
    // first, as main gets them, the toolkit's own options taken out), as the
    // bytes they are (FileName.h): joined by single spaces, so an unquoted path
    // with blanks that the shell split comes back whole; a path wrapped in
    // double quotation marks (as a desktop launcher passes it) is taken
    // without them. Empty: no script.
    static QString ScriptPath(int argc, const char *const *argv);
};
