// mbscript as its users run it. `dump` prints exactly the JSON the original
// whole-document builder made, kept here as the reference, for generated
// scripts of every encoding and for the awkward corners (no script, control
// characters, "@=" lines); then what the commands say on stderr, print for
// check and exit with.

#include "bench/ScriptGenerator.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "../script/ScriptFixture.h"
#include "framework/FileBytes.h"
#include "framework/FileName.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTest>

#include <ctime>
#include <unistd.h>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QStringList errLines;
};

// Runs `program` with the British date picture in UTC, as the reference loads
// in this process, the arguments given as the bytes they stand for
// (FileName.h), as a shell gives them; `environment` adds NAME=VALUE pairs,
// a bare NAME is removed.
Run Mbscript(const QStringList &arguments, const QString &program = QStringLiteral(MBSCRIPT_PATH),
             const QString &outputFile = QString(), const QStringList &environment = {},
             const QByteArray &input = QByteArray())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_GB.UTF-8"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC0"));
    for (const QString &pair : environment)
        pair.contains(u'=') ? env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1)) : env.remove(pair);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    QByteArrayList bytes{FileNameBytes(program).value()};
    for (const QString &argument : arguments)
        bytes << FileNameBytes(argument).value();
    for (const QString &pair : env.toStringList())
        bytes << pair.toLocal8Bit();
    std::vector<char *> argv;
    std::vector<char *> envp;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        (i <= arguments.size() ? argv : envp).push_back(bytes[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    process.setChildProcessModifier([&] {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    });
    process.start(program, {});
    process.write(input);
    process.closeWriteChannel();
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
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool paired = c.isHighSurrogate() ? i + 1 < text.size() && text[i + 1].isLowSurrogate()
                                                : c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate();
        if (const qsizetype named = QStringView(u"\"\\\b\f\n\r\t").indexOf(c); named >= 0)
            out.append(u'\\').append(QLatin1Char("\"\\bfnrt"[named]));
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.isSurrogate() && !paired))
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

    void fullOutputFails_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("dump") << "dump";
        QTest::newRow("check") << "check";
    }

    void fullOutputFails()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        QFETCH(QString, command);
        const QString path = m_files.Write(QByteArray("[Action1]\r\nPath1=C:\\a\r\n"));
        const Run run = Mbscript({command, path}, QStringLiteral(MBSCRIPT_PATH), QStringLiteral("/dev/full"));
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
        QTest::newRow("a name that is not UTF-8")
            << QStringList{"dump", m_files.Write("[Action1]\r\n", FileNameFromBytes("caf\xe9.mbs"))} << 0 << QStringList{};
        QTest::newRow("missing, shown escaped") << QStringList{"dump", m_files.Path(FileNameFromBytes("gon\xe9.mbs"))} << 1
                                                << QStringList{"gon\\xe9.mbs\"", "No such file"};
        QTest::newRow("invalid date") << QStringList{"dump", invalid} << 0
                                      << QStringList{"Invalid", "bad.mbs", "Action1", "Min Date Filter"};
        QTest::newRow("date of the locale given")
            << QStringList{"dump", "--locale", "de_DE", m_files.Write("[Action1]\nMin Date Filter=31.12.2020\n")} << 0
            << QStringList{};
        QTest::newRow("no such locale") << QStringList{"dump", "--locale=xx_YY", invalid} << 2 << QStringList{"xx_YY"};
        QTest::newRow("no command") << QStringList{} << 2 << QStringList{"--help"};
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
            QVERIFY(run.out.contains("mbscript dump [--locale NAME] FILE")
                    && run.out.contains(QStringLiteral("each of the %1 keys").arg(kSettingFieldCount).toUtf8()));
    }

    void resaveTakesArgumentsAsGiven_data()
    {
        // Run without a display by a copy of mbscript in bin/ beside a planted libexec/marrowpad/mbscript-resave,
        // in a folder holding the script as in.mbs and -reverse, and r\xef\xbf\xbd.mbs.
        QTest::addColumn<QStringList>("arguments");  // after "resave"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("written");        // the file that then holds the script
        const QString latin1 = FileNameFromBytes("r\xe9.mbs");
        QTest::newRow("a name that is not UTF-8") << QStringList{"in.mbs", latin1} << 0 << latin1;
        QTest::newRow("names like the toolkit's options") << QStringList{"--", "-reverse", "-style=x"} << 0 << "-style=x";
        QTest::newRow("an option like the toolkit's") << QStringList{"-widgetcount", "in.mbs", "out.mbs"} << 2 << "";
    }

    void resaveTakesArgumentsAsGiven()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, written);
        ScriptFixture files;
        const QByteArray script("[Action1]\r\nPath1=C:\\a\r\n\r\n");
        const QString decoy = files.Write("decoy", FileNameFromBytes("r\xef\xbf\xbd.mbs"));
        files.Write(script, QStringLiteral("in.mbs"));
        files.Write(script, QStringLiteral("-reverse"));
        const QString program = files.Path(QStringLiteral("bin/mbscript"));
        QVERIFY(QDir().mkpath(files.Path("bin")) && QDir().mkpath(files.Path("libexec/marrowpad")));
        QVERIFY(QFile::copy(QStringLiteral(MBSCRIPT_PATH), program));
        const QString planted = files.Write("#!/bin/sh\ntouch planted-ran\n", "libexec/marrowpad/mbscript-resave");
        QVERIFY(QFile::setPermissions(planted, QFile::ExeOwner | QFile::ReadOwner));
        const QString folder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(files.Path(QStringLiteral("."))));
        const Run run = Mbscript(QStringList{"resave"} + arguments, program, QString(),
                                 {"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY"});
        QDir::setCurrent(folder);
        QTEST(run.exitCode, "exitCode");
        QByteArray bytes;
        QString cause;
        QVERIFY(written.isEmpty() || (ReadFileBytes(files.Path(written), 1000, bytes, cause) && bytes == script));
        QVERIFY(ReadFileBytes(decoy, 1000, bytes, cause) && bytes == "decoy");
        QVERIFY(!QFile::exists(files.Path(QStringLiteral("planted-ran"))));
    }

    void checkExitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("outLines");  // stdout, the script's folder left out
        QTest::addColumn<QByteArray>("input");

        const QString clean = m_files.Write("[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\n", QStringLiteral("clean.mbs"));
        const QString warned = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMask =x\n", QStringLiteral("warned.mbs"));
        const QString broken = m_files.Write("[Action1]\nPath1=C:\\a\n[Action07]\n", QStringLiteral("broken.mbs"));
        QTest::newRow("clean") << QStringList{"check", clean} << 0 << QStringList{"clean.mbs: no problems"} << QByteArray();
        const QString latin1 = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\n", FileNameFromBytes("caf\xe9.mbs"));
        QTest::newRow("a name that is not UTF-8") << QStringList{"check", latin1} << 0
                                                  << QStringList{"caf\\xe9.mbs: no problems"} << QByteArray();
        const QStringList warning{"warned.mbs:4: warning: \"Mask \" has a space around its key: lookups never match it, "
                                  "so Mask is not set here; write \"Mask=\" [key-not-matched]",
                                  "warned.mbs: 0 errors, 1 warning"};
        QTest::newRow("warning") << QStringList{"check", warned} << 0 << warning << QByteArray();
        QTest::newRow("strict warning") << QStringList{"check", "--strict", warned} << 1 << warning << QByteArray();
        QTest::newRow("error, in file order, every file") << QStringList{"check", broken, clean} << 1
                             << QStringList{"broken.mbs:1: error: Action1 has no target path (Path2) [missing-path]",
                                            "broken.mbs:3: warning: section [Action07] is never loaded: only the exact form "
                                            "loads: rename it \"Action7\" [unloaded-section]",
                                            "broken.mbs: 1 error, 1 warning", "clean.mbs: no problems"} << QByteArray();
        QTest::newRow("unreadable") << QStringList{"check", m_files.Path("gone.mbs"), clean} << 2
                                    << QStringList{"gone.mbs: error: the file cannot be read [unreadable]",
                                                   "clean.mbs: no problems"} << QByteArray();
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
                                             "]"} << QByteArray();
        QTest::newRow("no file") << QStringList{"check", "--json"} << 2 << QStringList{} << QByteArray();
        QTest::newRow("unknown option") << QStringList{"check", "--fix", clean} << 2 << QStringList{} << QByteArray();
        QTest::newRow("ignored rule") << QStringList{"check", "--ignore=unknown-key,key-not-matched", warned} << 0
                                      << QStringList{"warned.mbs: no problems"} << QByteArray();
        QTest::newRow("no such rule") << QStringList{"check", "--ignore", "unknown-keys", warned} << 2 << QStringList{} << QByteArray();
        const QString many = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMask=a\nMask=b\nMask=c\nMask=d\n", QStringLiteral("many.mbs"));
        QTest::newRow("past the limit") << QStringList{"check", "--max-problems", "1", many} << 0
            << QStringList{"many.mbs:5: warning: Mask is set again and this line is ignored: the one at line 4 wins [duplicate-key]",
                           "many.mbs: 0 errors, 3 warnings (2 not shown: see --max-problems)"} << QByteArray();
        const QString german = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMin Date Filter=31.12.2020\n", QStringLiteral("de.mbs"));
        QTest::newRow("date of the locale given") << QStringList{"check", "--locale", "de_DE", german} << 0 << QStringList{"de.mbs: no problems"} << QByteArray();
        QTest::newRow("date of this machine's locale") << QStringList{"check", german} << 0
            << QStringList{"de.mbs:4: warning: Invalid date: \"31.12.2020\" is not a date: expected dd/MM/yyyy (en_GB); the "
                           "filter keeps the date it inherits [invalid-date]", "de.mbs: 0 errors, 1 warning"} << QByteArray();
        QTest::newRow("standard input") << QStringList{"check", "-"} << 1
            << QStringList{"<stdin>:1: error: Action1 has no source path (Path1) [missing-path]", "<stdin>: 1 error, 0 warnings"}
            << QByteArray("[Action1]\nPath2=D:\\b\n");
        QTest::newRow("help") << QStringList{"check", "--help"} << 0 << QStringList{} << QByteArray();
    }

    void checkExitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        const Run run = Mbscript(arguments, QStringLiteral(MBSCRIPT_PATH), QString(), {}, input);
        QTEST(run.exitCode, "exitCode");
        if (arguments.contains(QLatin1String("--help"))) {
            QVERIFY(run.out.startsWith("Usage: mbscript check") && run.out.contains("\n  run-order\n"));
            return;
        }
        QString out = QString::fromUtf8(run.out);
        out.replace(m_files.Path(QStringLiteral("x")).chopped(1), QString());
        QTEST(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), "outLines");
    }
};

QTEST_GUILESS_MAIN(TestMbscript)
#include "tst_mbscript.moc"
