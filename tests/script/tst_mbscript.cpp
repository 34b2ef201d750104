#include "ScriptFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    run.errLines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

} // namespace

class TestMbscript : public QObject
{
    Q_OBJECT
    ScriptFixture m_files;

private slots:
    void dumpsRecords()
    {
        const QString path = m_files.Write(
            "[Default]\r\n@=first\r\nMask=*.doc\r\nMax Date Filter=31/12/9999\r\n"
            "[Action2]\r\nPath1=C:\\Donn\xe9" "es\r\nMin Size Filter=12345678901234567\r\n"
            "Output Header=\"q\"\\t\x01\r\n[Action1]\r\nOperation=-4\r\n");
        const Run run = Mbscript({QStringLiteral("dump"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errLines, QStringList());
        const QJsonObject root = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(root.value("defaultAtLines").toArray(), QJsonArray{QStringLiteral("@=first")});
        QCOMPARE(root.value("default").toObject().size(), 41);
        const QJsonArray actions = root.value("actions").toArray();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0].toObject().value("name").toString(), QStringLiteral("Action1"));
        const QJsonObject first = actions[0].toObject().value("settings").toObject();
        QCOMPARE(first.value("Operation").toInt(), -4);
        QCOMPARE(first.value("Mask").toString(), QStringLiteral("*.doc"));
        const QJsonObject second = actions[1].toObject().value("settings").toObject();
        QCOMPARE(second.value("Path1").toString(), QString::fromUtf8("C:\\Données"));
        QCOMPARE(second.value("Output Header").toString(), QStringLiteral("\"q\"\t\x01"));

        // Integers beyond a double's precision keep every digit (31/12/9999 in UTC).
        QVERIFY(run.out.contains("\"Max Date Filter\": 2650466880000000000,"));
        QVERIFY(run.out.contains("\"Min Size Filter\": 12345678901234567,"));
    }

    void messagesAndExitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messageParts");  // one stderr line holding all of them; empty: none
        QTest::addColumn<QString>("encoding");  // and the number of actions dumped, for a file read
        QTest::addColumn<int>("actions");

        const QString invalid = m_files.Write("[Action1]\nMin Date Filter=32/01/2020\n", QStringLiteral("bad.mbs"));
        const QString utf16 = m_files.Write(Utf16WithBom(QStringLiteral("[Action1]\r\nMask=x\r\n")));
        const QString utf8 = m_files.Write("\xEF\xBB\xBF[Action1]\r\n[Action2]\r\n");
        QTest::newRow("utf-16le") << QStringList{"dump", utf16} << 0 << QStringList{} << "utf-16le" << 1;
        QTest::newRow("utf-8") << QStringList{"dump", utf8} << 0 << QStringList{} << "utf-8" << 2;
        QTest::newRow("empty file") << QStringList{"dump", m_files.Write("")} << 0 << QStringList{} << "ansi" << 0;
        QTest::newRow("missing file") << QStringList{"dump", m_files.Path("gone.mbs")} << 1
                                      << QStringList{"gone.mbs", "No such file"} << "" << 0;
        QTest::newRow("invalid date") << QStringList{"dump", invalid} << 0
                                      << QStringList{"Invalid", "bad.mbs", "Action1", "Min Date Filter"} << "ansi" << 1;
        QTest::newRow("no command") << QStringList{} << 2 << QStringList{"--help"} << "" << 0;
        QTest::newRow("help") << QStringList{"--help"} << 0 << QStringList{} << "" << 0;
    }

    void messagesAndExitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messageParts);
        QFETCH(QString, encoding);
        const Run run = Mbscript(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.errLines.size(), messageParts.isEmpty() ? 0 : 1);
        for (const QString &part : messageParts)
            QVERIFY2(run.errLines.first().contains(part), qPrintable(run.errLines.first()));
        if (exitCode != 0)
            QVERIFY(run.out.isEmpty());
        if (!encoding.isEmpty()) {
            const QJsonObject root = QJsonDocument::fromJson(run.out).object();
            QCOMPARE(root.value("encoding").toString(), encoding);
            QTEST(int(root.value("actions").toArray().size()), "actions");
        }
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

    void checkJson()
    {
        const QString path = m_files.Write("[Default]\nSort Compare=9\n[Action1]\nPath1=C:\\a\nPath2=c:/A/\n");
        const Run run = Mbscript({QStringLiteral("check"), QStringLiteral("--json"), path});
        QCOMPARE(run.exitCode, 1);
        const QJsonArray problems = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(problems.size(), 2);
        // Each problem holds these members, and a message naming its cause.
        const QJsonObject expected[] = {
            {{"file", path}, {"line", 2}, {"section", "Default"}, {"key", "Sort Compare"}, {"severity", "warning"},
             {"rule", "unknown-code"}},
            {{"file", path}, {"line", 5}, {"section", "Action1"}, {"key", "Path2"}, {"severity", "error"}, {"rule", "same-path"}}};
        for (int i = 0; i < 2; ++i)
            for (auto it = expected[i].begin(); it != expected[i].end(); ++it)
                QCOMPARE(problems[i].toObject().value(it.key()), it.value());
        QVERIFY(problems[0].toObject().value("message").toString().contains(QLatin1String("sort code 9")));
    }
};

QTEST_GUILESS_MAIN(TestMbscript)
#include "tst_mbscript.moc"
