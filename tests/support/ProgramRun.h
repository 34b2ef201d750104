#pragma once
// A program run as its users run it: its arguments the bytes they stand for,
// its input on standard input; what it printed and how it ended.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProgramRun
{
    int exitCode = -1; // -1: it crashed, or had not ended after two minutes
    QByteArray out;
    QByteArray err;

    // The lines of standard error that are not empty.
    QStringList ErrLines() const;
};

// This process's environment with `edits`: NAME=VALUE sets NAME, a bare NAME
// removes it.
QProcessEnvironment ChildEnvironment(const QStringList &edits);

// Runs `program` with `arguments`, each passed as the bytes it stands for
// (FileName.h) as a shell passes them, in ChildEnvironment(`environment`), with
// `input` on its standard input and its standard output written to
// `outputFile` when one is named.
ProgramRun RunProgram(const QString &program, const QStringList &arguments, const QStringList &environment = {},
                      const QByteArray &input = {}, const QString &outputFile = {});
