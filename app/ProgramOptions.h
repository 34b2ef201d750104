#pragma once
// The two options of the editor's command line, answered before any window
// (or display) is needed: "--help" and "--version", each only as the one and
// only argument. Any other command line names a script, spaces and all.

#include <QString>

#include <optional>

class CProgramOptions
{
public:
    // The text to print for the arguments after the program name, or nothing
    // when they name a script (or none) and the editor is to start.
    static std::optional<QString> Answer(int argc, const char *const argv[]);

    static QString VersionText();
    static QString HelpText();
};
