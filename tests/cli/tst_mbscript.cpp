// mbscript as its users run it. `dump` prints exactly the JSON the original
// whole-document builder made, kept here as the reference, for generated
// scripts of every encoding and for the awkward corners (no script, control
// characters, "@=" lines); then what the commands say on stderr, print for
// check and exit with.

#include "bench/ScriptGenerator.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "../script/ScriptFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTest>

#include <ctime>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QStringList errLines;
};

// Runs `program` with the British date picture in UTC, as the reference loads in this process.
Run Mbscript(const QStringList &arguments, const QString &program = QStringLiteral(MBSCRIPT_PATH),
             const QString &outputFile = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_GB.UTF-8"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC0"));
    process.setProcessEnvironment(env);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.errLines = QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

QString ReferenceString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (const qsizetype named = QStringView(u"\"\\\b\f\n\r\t").indexOf(c); named >= 0)
            out.append(u'\\').append(QLatin1Char("\"\\bfnrt"[named]));
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString ReferenceArray(QStringList texts)
{
    for (QString &text : texts)
        text = ReferenceString(text);
    return QLatin1Char('[') + texts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString ReferenceSettings(const CSynchSettings &record, const QString &indent)
{
    QStringList members;
    for (const SettingField &field : SettingFields()) {
        const QString value = field.ValueText(record);
        members << indent + QStringLiteral("  ") + ReferenceString(field.Key()) + QStringLiteral(": ")
                + (field.IsText() ? ReferenceString(value) : value);
    }
    return QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) + QLatin1Char('\n') + indent
        + QLatin1Char('}');
}

QByteArray ReferenceDump(const CSynchArray &document)
{
    const ScriptEncoding encoding = document.m_ScriptFile.Encoding();
    const QString name = encoding == ScriptEncoding::Utf16Le ? QStringLiteral("utf-16le")
                         : encoding == ScriptEncoding::Utf8  ? QStringLiteral("utf-8")
                                                              : QStringLiteral("ansi");
    QString out = QStringLiteral("{\n");
    out += QStringLiteral("  \"encoding\": %1,\n").arg(ReferenceString(name));
    out += QStringLiteral("  \"defaultAtLines\": %1,\n").arg(ReferenceArray(document.m_arrDefaultAtLines));
    out += QStringLiteral("  \"default\": %1,\n").arg(ReferenceSettings(document.m_Default, QStringLiteral("  ")));
    QStringList actions;
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const CSynchSettings &record = *document.GetAt(i);
        actions << QStringLiteral("    {\n      \"name\": %1,\n      \"atLines\": %2,\n      \"settings\": %3\n    }")
                       .arg(ReferenceString(document.m_arrActionNames.at(i)), ReferenceArray(record.m_arrAtLines),
                            ReferenceSettings(record, QStringLiteral("      ")));
    }
    out += actions.isEmpty() ? QStringLiteral("  \"actions\": []\n")
                             : QStringLiteral("  \"actions\": [\n") + actions.join(QStringLiteral(",\n"))
                                   + QStringLiteral("\n  ]\n");
    return (out + QStringLiteral("}\n")).toUtf8();
}

} // namespace

class TestMbscript : public QObject
{
    Q_OBJECT
    ScriptFixture m_files;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        qputenv("TZ", "UTC0");
        tzset();
    }

    void dumpIsTheReference_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const std::array<std::pair<const char *, ScriptEncoding>, 3> encodings{
            {{"ansi", ScriptEncoding::Ansi}, {"utf-16le", ScriptEncoding::Utf16Le}, {"utf-8", ScriptEncoding::Utf8}}};
        for (const auto &[name, encoding] : encodings)
            for (const int actions : {0, 1, 7, 150})
                for (const quint32 seed : {1u, 29u}) {
                    const QString text = CScriptGenerator(seed * 1000 + quint32(actions)).Generate(actions);
                    QTest::addRow("%s %d actions seed %u", name, actions, seed)
                        << CScriptGenerator::Encode(text, encoding);
                }
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("only comments") << QByteArray("; nothing\r\n\r\n");
        QTest::newRow("no Default, actions out of order")
            << QByteArray("[Action3]\r\nPath1=c\r\n[action1]\r\nPath1=a\r\n[Action02]\r\nPath1=x\r\n");
        QTest::newRow("controls, quotes and backslashes")
            << QByteArray("[Default]\r\n@=\"at\"\\\x01\r\n@=\x7f\r\nMask=\"*\\x\"\x02\x1f\r\n"
                          "Output Header=a\\tb\\n\\r\\\\\"\r\n[Action1]\r\n@=one\r\nPath1=\x08\x0c\x09\r\n");
        QTest::newRow("UTF-16 with lone surrogates and a pair")
            << Utf16WithBom(QStringLiteral("[Action1]\r\nPath1=a") + QChar(0xD800) + QStringLiteral("b")
                            + QChar(0xDC00) + QChar(0xD83D) + QChar(0xDE00) + QStringLiteral("\u00e9\u20ac")
                            + QChar(0xDBFF) + QStringLiteral("\r\n"));
        QTest::newRow("invalid dates and huge numbers")
            << QByteArray("[Action1]\r\nMin Date Filter=99/99/2020\r\nMax Size Filter=-9223372036854775808\r\n"
                          "Min Size Filter=12345678901234567\r\n"
                          "Operation=99999999999\r\n");
    }

    void dumpIsTheReference()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_files.Write(bytes);
        CSynchArray document;
        LoadOptions quiet;
        quiet.reportInvalidDates = false;
        document.LoadScript(path, nullptr, quiet);
        const Run run = Mbscript({QStringLiteral("dump"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, ReferenceDump(document));
    }

    void dumpToAFullOutputFails()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        const QString path = m_files.Write(QByteArray("[Action1]\r\nPath1=C:\\a\r\n"));
        const Run run = Mbscript({QStringLiteral("dump"), path}, QStringLiteral(MBSCRIPT_PATH), QStringLiteral("/dev/full"));
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.errLines.size(), 1);
        QVERIFY2(run.errLines.first().contains(QLatin1String("standard output")), qPrintable(run.errLines.first()));
    }

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
            QVERIFY(run.out.contains("mbscript dump FILE")
                    && run.out.contains(QStringLiteral("each of the %1 keys").arg(kSettingFieldCount).toUtf8()));
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
