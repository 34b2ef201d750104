#pragma once
#include <QString>

// The path a command reads or writes for a file argument: "-" stands for
// standard input (IN) or standard output (OUT), as on every command line.
QString InputPath(const QString &argument);
QString OutputPath(const QString &argument);
