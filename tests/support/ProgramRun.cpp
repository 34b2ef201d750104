#include "ProgramRun.h"

#include "framework/FileName.h"

#include <QProcess>

#include <vector>

#include <unistd.h>

QStringList ProgramRun::ErrLines() const
{
    return QString::fromLocal8Bit(err).split(u'\n', Qt::SkipEmptyParts);
}

QProcessEnvironment ChildEnvironment(const QStringList &edits)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &edit : edits)
        edit.contains(u'=') ? environment.insert(edit.section(u'=', 0, 0), edit.section(u'=', 1))
                            : environment.remove(edit);
    return environment;
}

ProgramRun RunProgram(const QString &program, const QStringList &arguments, const QStringList &environment,
                      const QByteArray &input, const QString &outputFile)
{
    // QProcess would give the arguments as UTF-8; the child is started with their bytes instead.
    QByteArrayList bytes{FileNameBytes(program).value_or(QByteArray())};
    for (const QString &argument : arguments)
        bytes << FileNameBytes(argument).value_or(QByteArray());
    for (const QString &pair : ChildEnvironment(environment).toStringList())
        bytes << pair.toLocal8Bit();
    std::vector<char *> argv, envp;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        (i <= arguments.size() ? argv : envp).push_back(bytes[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    QProcess process;
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.setChildProcessModifier([&] {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    });
    process.start(program, {});
    process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
