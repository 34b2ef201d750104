#include "ScriptFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QStringList errLines;
};

Run Mbscript(const QStringList &arguments, const QString &program = QStringLiteral(MBSCRIPT_PATH))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_GB.UTF-8"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC0"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.errLines = QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

} // namespace

class TestMbscript : public QObject
{
    Q_OBJECT
    ScriptFixture m_files;

private slots:
    // What dump prints is pinned by tst_dumpjson; here, what it says on stderr and its exit code.
    void messagesAndExitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messageParts");  // one stderr line holding all of them; empty: none

        const QString invalid = m_files.Write("[Action1]\nMin Date Filter=32/01/2020\n", QStringLiteral("bad.mbs"));
        QTest::newRow("quiet") << QStringList{"dump", m_files.Write("[Action1]\r\nMask=x\r\n")} << 0 << QStringList{};
        QTest::newRow("missing file") << QStringList{"dump", m_files.Path("gone.mbs")} << 1
                                      << QStringList{"gone.mbs", "No such file"};
        QTest::newRow("invalid date") << QStringList{"dump", invalid} << 0
                                      << QStringList{"Invalid", "bad.mbs", "Action1", "Min Date Filter"};
        QTest::newRow("no command") << QStringList{} << 2 << QStringList{"--help"};
        QTest::newRow("help") << QStringList{"--help"} << 0 << QStringList{};
    }

    void messagesAndExitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messageParts);
        const Run run = Mbscript(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.errLines.size(), messageParts.isEmpty() ? 0 : 1);
        for (const QString &part : messageParts)
            QVERIFY2(run.errLines.first().contains(part), qPrintable(run.errLines.first()));
        QCOMPARE(run.out.isEmpty(), exitCode != 0);
        if (arguments == QStringList{"--help"})
            QVERIFY(run.out.contains("mbscript dump FILE"));
    }

    void resaveWithoutItsProgram()
    {
        // mbscript alone, without the program that resaves beside it.
        const QString copy = m_files.Path(QStringLiteral("bin/mbscript"));
        QVERIFY(QDir().mkpath(QFileInfo(copy).path()));
        QVERIFY(QFile::copy(QStringLiteral(MBSCRIPT_PATH), copy));
        const QString in = m_files.Write("[Action1]\r\n");
        const Run run = Mbscript({QStringLiteral("resave"), in, m_files.Path(QStringLiteral("out.mbs"))}, copy);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errLines.size(), 1);
        QVERIFY2(run.errLines.first().contains(m_files.Path(QStringLiteral("libexec/marrowpad/mbscript-resave")))
                     && run.errLines.first().contains(QLatin1String("No such file")),
                 qPrintable(run.errLines.first()));
        QVERIFY(!QFile::exists(m_files.Path(QStringLiteral("out.mbs"))));
    }

    void checkExitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("outLines");  // stdout, the script's folder left out

        const QString clean = m_files.Write("[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\n", QStringLiteral("clean.mbs"));
        const QString warned = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMask =x\n", QStringLiteral("warned.mbs"));
        const QString broken = m_files.Write("[Action1]\nPath1=C:\\a\n[Action07]\n", QStringLiteral("broken.mbs"));
        QTest::newRow("clean") << QStringList{"check", clean} << 0 << QStringList{"clean.mbs: no problems"};
        const QStringList warning{"warned.mbs:4: warning: \"Mask \" has a space around its key: lookups never match it, "
                                  "so Mask is not set here; write \"Mask=\" [key-not-matched]",
                                  "warned.mbs: 0 errors, 1 warning"};
        QTest::newRow("warning") << QStringList{"check", warned} << 0 << warning;
        QTest::newRow("strict warning") << QStringList{"check", "--strict", warned} << 1 << warning;
        QTest::newRow("error, in file order, every file") << QStringList{"check", broken, clean} << 1
                             << QStringList{"broken.mbs:1: error: Action1 has no target path (Path2) [missing-path]",
                                            "broken.mbs:3: warning: section [Action07] is never loaded: only the exact form "
                                            "loads: rename it \"Action7\" [unloaded-section]",
                                            "broken.mbs: 1 error, 1 warning", "clean.mbs: no problems"};
        QTest::newRow("unreadable") << QStringList{"check", m_files.Path("gone.mbs"), clean} << 1
                                    << QStringList{"gone.mbs: error: the file cannot be read [unreadable]",
                                                   "clean.mbs: no problems"};
        const QString json = m_files.Write("[Default]\nSort Compare=9\n[Action1]\nPath1=C:\\a\nPath2=c:/A/\n",
                                           QStringLiteral("json.mbs"));
        QTest::newRow("json") << QStringList{"check", "--json", json} << 1
                              << QStringList{"[",
                                             "  {\"file\": \"json.mbs\", \"line\": 2, \"section\": \"Default\", \"key\": \"Sort Compare\", "
                                             "\"severity\": \"warning\", \"rule\": \"unknown-code\", \"message\": \"sort code 9 has no "
                                             "text in the editor (-1 to 6)\"},",
                                             "  {\"file\": \"json.mbs\", \"line\": 5, \"section\": \"Action1\", \"key\": \"Path2\", "
                                             "\"severity\": \"error\", \"rule\": \"same-path\", \"message\": \"Action1's source and "
                                             "target are the same folder: \\\"c:/A/\\\"\"}",
                                             "]"};
        QTest::newRow("no file") << QStringList{"check", "--json"} << 2 << QStringList{};
        QTest::newRow("unknown option") << QStringList{"check", "--fix", clean} << 2 << QStringList{};
    }

    void checkExitStatus()
    {
        QFETCH(QStringList, arguments);
        const Run run = Mbscript(arguments);
        QTEST(run.exitCode, "exitCode");
        QString out = QString::fromUtf8(run.out);
        out.replace(m_files.Path(QStringLiteral("x")).chopped(1), QString());
        QTEST(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), "outLines");
    }
};

QTEST_GUILESS_MAIN(TestMbscript)
#include "tst_mbscript.moc"
