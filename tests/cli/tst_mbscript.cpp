// mbscript as its users run it: `dump` prints exactly the JSON of the reference builder below, for generated
// scripts of every encoding and for the awkward corners; then what the commands print, say on stderr and exit with.

#include "ProgramRun.h"
#include "TestFiles.h"
#include "TestLocale.h"
#include "bench/ScriptGenerator.h"
#include "framework/FileName.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// mbscript's date picture, the one the reference loads with in this process (the zone it inherits).
const QStringList kBritish{"LC_ALL=en_GB.UTF-8"};
const QString kMbscript = QStringLiteral(MBSCRIPT_PATH);

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
    return QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) + QLatin1Char('\n') + indent + QLatin1Char('}');
}

QByteArray ReferenceDump(const CSynchArray &document)
{
    const ScriptEncoding encoding = document.m_ScriptFile.Encoding();
    const QString name = encoding == ScriptEncoding::Utf16Le ? QStringLiteral("utf-16le")
                         : encoding == ScriptEncoding::Utf8  ? QStringLiteral("utf-8")
                                                             : QStringLiteral("ansi");
    QString out = QStringLiteral("{\n  \"encoding\": %1,\n  \"defaultAtLines\": %2,\n  \"default\": %3,\n")
                      .arg(ReferenceString(name), ReferenceArray(document.m_arrDefaultAtLines),
                           ReferenceSettings(document.m_Default, QStringLiteral("  ")));
    QStringList actions;
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const CSynchSettings &record = *document.GetAt(i);
        actions << QStringLiteral("    {\n      \"name\": %1,\n      \"atLines\": %2,\n      \"settings\": %3\n    }")
                       .arg(ReferenceString(document.m_arrActionNames.at(i)), ReferenceArray(record.m_arrAtLines),
                            ReferenceSettings(record, QStringLiteral("      ")));
    }
    out += actions.isEmpty()
               ? QStringLiteral("  \"actions\": []\n")
               : QStringLiteral("  \"actions\": [\n") + actions.join(QStringLiteral(",\n")) + QStringLiteral("\n  ]\n");
    return (out + QStringLiteral("}\n")).toUtf8();
}

void Row(const char *tag, const QStringList &arguments, int exitCode, const QStringList &outLines,
         const QStringList &errParts = {}, const QByteArray &input = {}, const QString &outputFile = {})
{
    QTest::newRow(tag) << arguments << exitCode << outLines << errParts << input << outputFile;
}

} // namespace

class TestMbscript : public QObject
{
    Q_OBJECT
    TemporaryFolder m_files;

private slots:
    void initTestCase() { UseBritishDates("UTC0"); }

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
        QTest::newRow("UTF-16 with lone surrogates and a pair") << Utf16WithBom(
            QStringLiteral("[Action1]\r\nPath1=a") + QChar(0xD800) + QStringLiteral("b") + QChar(0xDC00) + QChar(0xD83D)
            + QChar(0xDE00) + QStringLiteral("\u00e9\u20ac") + QChar(0xDBFF) + QStringLiteral("\r\n"));
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
        const ProgramRun run = RunProgram(kMbscript, {QStringLiteral("dump"), path}, kBritish);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, ReferenceDump(document));
    }

    void resaveTakesArgumentsAsGiven_data()
    {
        // Run without a display by a copy of mbscript in bin/ beside a planted libexec/marrowpad/mbscript-resave,
        // in a folder holding the script as in.mbs and -reverse, and r\xef\xbf\xbd.mbs.
        QTest::addColumn<QStringList>("arguments"); // after "resave"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("written"); // the file that then holds the script
        const QString latin1 = FileNameFromBytes("r\xe9.mbs");
        QTest::newRow("a name that is not UTF-8") << QStringList{"in.mbs", latin1} << 0 << latin1;
        QTest::newRow("names like the toolkit's options")
            << QStringList{"--", "-reverse", "-style=x"} << 0 << "-style=x";
        QTest::newRow("an option like the toolkit's") << QStringList{"-widgetcount", "in.mbs", "out.mbs"} << 2 << "";
    }

    void resaveTakesArgumentsAsGiven()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, written);
        TemporaryFolder files;
        const QByteArray script("[Action1]\r\nPath1=C:\\a\r\n\r\n");
        const QString decoy = files.Write("decoy", FileNameFromBytes("r\xef\xbf\xbd.mbs"));
        files.Write(script, QStringLiteral("in.mbs"));
        files.Write(script, QStringLiteral("-reverse"));
        const QString program = files.filePath(QStringLiteral("bin/mbscript"));
        QVERIFY(QDir().mkpath(files.filePath("bin")) && QDir().mkpath(files.filePath("libexec/marrowpad")));
        QVERIFY(QFile::copy(kMbscript, program));
        const QString planted = files.Write("#!/bin/sh\ntouch planted-ran\n", "libexec/marrowpad/mbscript-resave");
        QVERIFY(QFile::setPermissions(planted, QFile::ExeOwner | QFile::ReadOwner));
        const QString folder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(files.filePath(QStringLiteral("."))));
        const ProgramRun run = RunProgram(program, QStringList{"resave"} + arguments,
                                          kBritish + QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY"});
        QDir::setCurrent(folder);
        QTEST(run.exitCode, "exitCode");
        QVERIFY(written.isEmpty() || ReadAll(files.filePath(written)) == script);
        QCOMPARE(ReadAll(decoy), QByteArray("decoy"));
        QVERIFY(!QFile::exists(files.filePath(QStringLiteral("planted-ran"))));
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("outLines");
        QTest::addColumn<QStringList>("errParts");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("outputFile");

        const QString clean = m_files.Write("[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\n", QStringLiteral("clean.mbs"));
        const QString warned =
            m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMask =x\n", QStringLiteral("warned.mbs"));
        const QString broken = m_files.Write("[Action1]\nPath1=C:\\a\n[Action07]\n", QStringLiteral("broken.mbs"));
        const QString invalid = m_files.Write("[Action1]\nMin Date Filter=32/01/2020\n", QStringLiteral("bad.mbs"));
        const QString german = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMin Date Filter=31.12.2020\n",
                                             QStringLiteral("de.mbs"));
        const QStringList dumped{"...", "\"actions\": "}; // what dump prints is held to the reference above
        Row("dump", {"dump", clean}, 0, dumped);
        Row("dump, missing file", {"dump", m_files.filePath("gone.mbs")}, 1, {}, {"gone.mbs", "No such file"});
        Row("dump, a name that is not UTF-8",
            {"dump", m_files.Write("[Action1]\r\n", FileNameFromBytes("caf\xe9.mbs"))}, 0, dumped);
        Row("dump, missing, shown escaped", {"dump", m_files.filePath(FileNameFromBytes("gon\xe9.mbs"))}, 1, {},
            {"gon\\xe9.mbs\"", "No such file"});
        Row("dump, invalid date", {"dump", invalid}, 0, dumped, {"Invalid", "bad.mbs", "Action1", "Min Date Filter"});
        Row("dump, date of the locale given", {"dump", "--locale", "de_DE", german}, 0, dumped);
        Row("dump, no such locale", {"dump", "--locale=xx_YY", invalid}, 2, {}, {"xx_YY"});
        Row("dump to a full disk", {"dump", clean}, 3, {}, {"standard output"}, {}, "/dev/full");
        Row("no command", {}, 2, {}, {"--help"});
        Row("help", {"--help"}, 0,
            {"...", "  mbscript dump [--csv] [--locale NAME] FILE",
             QStringLiteral(" each of the %1 keys ").arg(kSettingFieldCount)});
        Row("check, clean", {"check", clean}, 0, {"clean.mbs: no problems"});
        Row("check, a name that is not UTF-8",
            {"check", m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\n", FileNameFromBytes("caf\xe9.mbs"))}, 0,
            {"caf\\xe9.mbs: no problems"});
        const QStringList warning{
            "warned.mbs:4: warning: \"Mask \" has a space around its key: lookups never match it, "
            "so Mask is not set here; write \"Mask=\" [key-not-matched]",
            "warned.mbs: 0 errors, 1 warning"};
        Row("check, warning", {"check", warned}, 0, warning);
        Row("check, strict warning", {"check", "--strict", warned}, 1, warning);
        Row("check, error, in file order, every file", {"check", broken, clean}, 1,
            {"broken.mbs:1: error: Action1 has no target path (Path2) [missing-path]",
             "broken.mbs:3: warning: section [Action07] is never loaded: only the exact form loads: rename it "
             "\"Action7\" "
             "[unloaded-section]",
             "broken.mbs: 1 error, 1 warning", "clean.mbs: no problems"});
        Row("check, unreadable", {"check", m_files.filePath("gone.mbs"), clean}, 2,
            {"gone.mbs: error: the file cannot be read [unreadable]", "clean.mbs: no problems"},
            {"gone.mbs", "No such file"});
        const QString json = m_files.Write("[Default]\nSort Compare=9\n[Action1]\nPath1=C:\\a\nPath2=c:/A/\n",
                                           QStringLiteral("json.mbs"));
        Row("check, json", {"check", "--json", json}, 1,
            {"[",
             "  {\"file\": \"json.mbs\", \"line\": 2, \"section\": \"Default\", \"key\": \"Sort Compare\", "
             "\"severity\": "
             "\"warning\", \"rule\": \"unknown-code\", \"message\": \"sort code 9 has no text in the editor (-1 to "
             "6)\"},",
             "  {\"file\": \"json.mbs\", \"line\": 5, \"section\": \"Action1\", \"key\": \"Path2\", \"severity\": "
             "\"error\", "
             "\"rule\": \"same-path\", \"message\": \"Action1's source and target are the same folder: "
             "\\\"c:/A/\\\"\"}",
             "]"});
        Row("check, no file", {"check", "--json"}, 2, {}, {"no FILE given"});
        Row("check, unknown option", {"check", "--fix", clean}, 2, {}, {"\"--fix\""});
        Row("check, ignored rule", {"check", "--ignore=unknown-key,key-not-matched", warned}, 0,
            {"warned.mbs: no problems"});
        Row("check, no such rule", {"check", "--ignore", "unknown-keys", warned}, 2, {}, {"\"unknown-keys\""});
        const QString many = m_files.Write("[Action1]\nPath1=C:\\a\nPath2=D:\\b\nMask=a\nMask=b\nMask=c\nMask=d\n",
                                           QStringLiteral("many.mbs"));
        Row("check, past the limit", {"check", "--max-problems", "1", many}, 0,
            {"many.mbs:5: warning: Mask is set again and this line is ignored: the one at line 4 wins [duplicate-key]",
             "many.mbs: 0 errors, 3 warnings (2 not shown: see --max-problems)"});
        Row("check, date of the locale given", {"check", "--locale", "de_DE", german}, 0, {"de.mbs: no problems"});
        Row("check, date of this machine's locale", {"check", german}, 0,
            {"de.mbs:4: warning: Invalid date: \"31.12.2020\" is not a date: expected dd/MM/yyyy (en_GB); the filter "
             "keeps "
             "the date it inherits [invalid-date]",
             "de.mbs: 0 errors, 1 warning"});
        Row("check, standard input", {"check", "-"}, 1,
            {"<stdin>:1: error: Action1 has no source path (Path1) [missing-path]", "<stdin>: 1 error, 0 warnings"}, {},
            "[Action1]\nPath2=D:\\b\n");
        Row("check to a full disk", {"check", clean}, 3, {}, {"standard output"}, {}, "/dev/full");
        Row("check, help", {"check", "--help"}, 0, {"...", "Usage: mbscript check [--json]", "\n  run-order\n"});
    }

    void getAndSet_data()
    {
        // FILE stands for a fresh copy of the script; after is what it then holds (empty: unchanged).
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("outLines");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("errParts");
        const QString s = "; top\r\n[Default]\r\nOperation=3\r\nMask=*.txt\r\nmask=dead\r\n[Action1]\r\nPath1=C:\\a\r\n"
                          "Path2=D:\\b\r\n; keep\r\n[Action2]\nPath1=C:\\c\nSearch_subdir=0\n[Options]\nx=1\n";
        const auto row = [](const char *tag, const QStringList &arguments, int exitCode, const QStringList &out,
                            const QString &after = {}, const QStringList &err = {}) {
            QTest::newRow(tag) << arguments << exitCode << out << after << err;
        };
        row("get, inherited", {"get", "FILE", "action1", "OPERATION"}, 0, {"3"});
        row("get, built-in", {"get", "FILE", "Action2", "Time Check Precision"}, 0, {"3"});
        row("get --raw, not written", {"get", "--raw", "FILE", "Action1", "Operation"}, 1, {});
        row("get --raw, as written", {"get", "--raw", "FILE", "Options", "x"}, 0, {"1"});
        row("get, every setting", {"get", "FILE", "Action2"}, 0,
            {"...", "Path1=C:\\c\n", "\nSearch_subdir=0\n", "\nMask=*.txt\n"});
        row("get, no such section", {"get", "FILE", "Action9", "Path1"}, 1, {}, {}, {"Action9"});
        row("get, no such key", {"get", "FILE", "Action1", "Colour"}, 1, {}, {}, {"\"Colour\""});
        // A pattern; a code by its list text in place; a line added after the nearest setting before it.
        row("set, pattern and list text",
            {"set", "FILE", "Action*.Operation=Produce Compare Report", "Default.Operation=1"}, 0, {},
            QString(s)
                .replace("Operation=3", "Operation=1")
                .replace("D:\\b\r\n", "D:\\b\r\nOperation=6\r\n")
                .replace("Search_subdir=0\n", "Search_subdir=0\nOperation=6\n"));
        row("set --unset takes the dead duplicates", {"set", "FILE", "--unset", "Default.Mask"}, 0, {},
            QString(s).replace("Mask=*.txt\r\nmask=dead\r\n", ""));
        row("set, each kind's good value",
            {"set", "FILE", "Action2.Search_subdir=1", "Action2.Check Same Size Files=1",
             "Action2.Time Check Precision=-7", "Action2.Max Size Filter=9000000000",
             "Action2.Min Date Filter=05/01/2009", "Action2.Sort Compare=2", "Action2.Skip Files Mask=4294967295",
             "Action2.Path2=D:\\e"},
            0, {},
            QString(s)
                .replace("Search_subdir=0\n",
                         "Search_subdir=1\nCheck Same Size Files=1\nTime Check Precision=-7\n"
                         "Sort Compare=2\nMin Date Filter=05/01/2009\nMax Size Filter=9000000000\nSkip Files Mask=-1\n")
                .replace("C:\\c\n", "C:\\c\nPath2=D:\\e\n"));
        row("set, a date of the locale given",
            {"set", "--locale", "de_DE", "FILE", "Default.Max Date Filter=31.12.2020"}, 0, {},
            QString(s).replace("Operation=3\r\n", "Operation=3\r\nMax Date Filter=31.12.2020\r\n"));
        for (const char *bad : {"Search_subdir=2", "Check Same Size Files=x", "Time Check Precision=3000000000",
                                "Max Size Filter=1e3", "Min Date Filter=31/02/2020", "Sort Compare=7", "Operation=-11",
                                "Skip Files Mask=4294967296", "Colour=red"})
            row(qPrintable(QStringLiteral("set refuses %1").arg(bad)),
                {"set", "FILE", "Action2.Path1=ok", QStringLiteral("Action*.") + bad}, 1, {}, {},
                {"refused", QString::fromLatin1(bad).section(u'=', 0, 0)});
        row("set --force, an unknown key", {"set", "FILE", "--force", "Action1.Colour=red"}, 0, {},
            QString(s).replace("; keep\r\n", "; keep\r\nColour=red\r\n"));
        row("set, no such section", {"set", "FILE", "Action9.Path1=x"}, 1, {}, {}, {"Action9"});
        row("set --dry-run", {"set", "--dry-run", "FILE", "Action1.Path1=x"}, 0, {});
        row("set --diff", {"set", "FILE", "--diff", "Action1.Path1=E:\\x"}, 0,
            {"--- FILE", "+++ FILE", "@@ -4,7 +4,7 @@", " Mask=*.txt\r", " mask=dead\r", " [Action1]\r",
             "-Path1=C:\\a\r", "+Path1=E:\\x\r", " Path2=D:\\b\r", " ; keep\r", " [Action2]"});
        // ODD: a name that could end a header line, holding a value with a NUL; the diff says both whole.
        row("set --diff, a name to quote and a NUL", {"set", "ODD", "--diff", "Action1.Path1=Q"}, 0,
            {"...", "/odd\\nname\\377.mbs\"\n+++ \"", "/odd\\nname\\377.mbs\"\n@@ -1,2 +1,2 @@\n",
             QString::fromUtf8("-Path1=C:\\a\0b\r\n+Path1=Q\r\n", 25)});
        row("set, nothing to set", {"set", "FILE"}, 2, {}, {}, {"SECTION.KEY=VALUE"});
        row("set, unreadable", {"set", "gone.mbs", "Default.Path1=x"}, 2, {}, {}, {"gone.mbs"});
    }

    void getAndSet()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, outLines);
        QFETCH(QString, after);
        QFETCH(QStringList, errParts);
        const QByteArray script =
            "; top\r\n[Default]\r\nOperation=3\r\nMask=*.txt\r\nmask=dead\r\n[Action1]\r\nPath1=C:\\a\r\n"
            "Path2=D:\\b\r\n; keep\r\n[Action2]\nPath1=C:\\c\nSearch_subdir=0\n[Options]\nx=1\n";
        const QString path = m_files.Write(script, QStringLiteral("FILE"));
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^FILE$")), path);
        const QString odd =
            m_files.Write(QByteArray("[Action1]\r\nPath1=C:\\a\0b\r\n", 25), FileNameFromBytes("odd\nname\xff.mbs"));
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^ODD$")), odd);
        const ProgramRun run = RunProgram(kMbscript, arguments, kBritish);
        QTEST(run.exitCode, "exitCode");
        QVERIFY2(OneLineHolding(run.ErrLines(), errParts), qPrintable(run.ErrLines().join(u'\n')));
        const QString out = QString::fromUtf8(run.out).replace(path, QStringLiteral("FILE"));
        if (outLines.value(0) != u"...")
            QCOMPARE(out.split(u'\n', Qt::SkipEmptyParts), outLines);
        for (const QString &part : outLines.mid(1))
            QVERIFY2(outLines[0] != u"..." || out.contains(part), qPrintable(part));
        QCOMPARE(QString::fromLatin1(ReadAll(path)), after.isEmpty() ? QString::fromLatin1(script) : after);
    }

    // Stdout (the script's folder left out) holds exactly `outLines`, or each of them when the first is "...";
    // stderr holds one line with all of `errParts`, or nothing.
    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, outLines);
        QFETCH(QStringList, errParts);
        QFETCH(QByteArray, input);
        QFETCH(QString, outputFile);
        if (!outputFile.isEmpty() && !QFile::exists(outputFile))
            QSKIP("no /dev/full here");
        const ProgramRun run = RunProgram(kMbscript, arguments, kBritish, input, outputFile);
        QTEST(run.exitCode, "exitCode");
        QVERIFY2(OneLineHolding(run.ErrLines(), errParts), run.err.constData());
        const QString out =
            QString::fromUtf8(run.out).replace(m_files.filePath(QStringLiteral("x")).chopped(1), QString());
        if (outLines.value(0) != u"...")
            QCOMPARE(out.split(u'\n', Qt::SkipEmptyParts), outLines);
        else
            for (const QString &part : outLines.mid(1))
                QVERIFY2(out.contains(part), qPrintable(part));
    }
};

QTEST_GUILESS_MAIN(TestMbscript)
#include "tst_mbscript.moc"
