#pragma once
// The commands of mbscript and the dispatcher that runs one of them.

#include <QStringList>

#include <cstdio>

// Exit statuses shared by every command.
enum ExitStatus : int { kExitOk = 0, kExitUnreadable = 1, kExitUsage = 2, kExitUnwritable = 3 };

struct Command
{
    const char *name;
    const char *synopsis;                     // the arguments after the name, for the usage line
    const char *description;                  // one paragraph for --help
    int (*run)(const QStringList &arguments); // the arguments after the name
};

// Runs the command named by arguments[0] (the program's arguments without
// its own name); prints help or a usage error on its own.
int RunCommandLine(const QStringList &arguments);

// Prints the help of the command `name`; returns kExitOk.
int PrintCommandHelp(const char *name);

// The usage error of a command: one line on stderr; returns kExitUsage.
int UsageError(const QString &text);
