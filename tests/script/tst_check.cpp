// The checker's rules, each firing on a small script and quiet on its near miss; scripts as administrators
// write them, with the findings each must give and the false alarms it must not; paths as Windows resolves them.

#include "TestLocale.h"
#include "framework/Clock.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/check/PathKey.h"
#include "script/check/ScriptChecker.h"

#include <QTest>
#include <QTimeZone>

#include <set>

namespace {

// An action's two paths, so that the rules about paths stay quiet.
QByteArray Paths(const char *first = "C:\\In1", const char *second = "D:\\Out1")
{
    return QByteArray("Path1=") + first + "\nPath2=" + second + "\n";
}

// Action1 from `in1` to `out1` with `more` lines, then Action2 from `in2` to `out2` with `more2`.
QByteArray TwoActions(const char *in1, const char *out1, const char *more, const char *in2, const char *out2,
                      const char *more2 = "")
{
    return "[Action1]\n" + Paths(in1, out1) + more + "[Action2]\n" + Paths(in2, out2) + more2;
}

// `script` makes `rule` fire first at `line` with a message holding `message`; line 0: the rule keeps quiet.
void Row(const char *tag, const QByteArray &script, const char *rule, int line, const char *message = "")
{
    QTest::newRow(tag) << script << QString::fromLatin1(rule) << line << QString::fromUtf8(message);
}

// Action1 with its paths, then `lines`: the rule fires on line 4 when there is a `message`.
void InAction1(const char *tag, const char *lines, const char *rule, const char *message = nullptr)
{
    Row(tag, "[Action1]\n" + Paths() + lines, rule, message ? 4 : 0, message ? message : "");
}

QByteArray Lines(const QByteArrayList &lines)
{
    return lines.join("\r\n") + "\r\n";
}

std::vector<CheckProblem> Problems(const QByteArray &script)
{
    CSynchArray document;
    std::vector<CheckProblem> problems;
    CScriptChecker::CheckText(QStringLiteral("t.mbs"), QString::fromLatin1(script), document, problems);
    return problems;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
    FixedClock m_clock{QDateTime(QDate(2026, 3, 15), QTime(12, 0), QTimeZone::utc())};
    ScopedClock m_installed{m_clock};

private slots:
    // East of UTC, local midnight falls on the day before in UTC.
    void initTestCase() { UseBritishDates("Europe/Berlin"); }

    void rules_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("line");        // of the first problem of the rule; 0: the rule does not fire
        QTest::addColumn<QString>("message"); // a part of its message

        const QByteArray a1 = "[Action1]\n" + Paths();
        // Reading
        InAction1("unknown key", "Serch_subdir=1\n", "unknown-key", "did you mean \"Search_subdir\"");
        InAction1("unknown key, underscores", "Search subdir=1\n", "unknown-key", "\"Search_subdir\"");
        InAction1("unknown key, far", "Colour=1\n", "unknown-key", "does not read it");
        InAction1("unknown key, too long to guess", QByteArray("Mask" + QByteArray(61, 'x') + "=1\n"), "unknown-key",
                  "does not read it");
        InAction1("known key in other case", "search_SUBDIR=1\n", "unknown-key");
        InAction1("key put out of use", ";Path2=E:\\Old\n#Mask=*.txt\n", "unknown-key");
        InAction1("key not matched", "Mask =*.txt\n", "key-not-matched", "Mask");
        InAction1("space after =", "Mask= *.txt\n", "key-not-matched");
        Row("duplicate key", a1 + "Mask=a\nMASK=b\n", "duplicate-key", 5, "line 4 wins");
        Row("key in Default and action", "[Default]\nMask=a\n" + a1 + "Mask=b\n", "duplicate-key", 0);
        Row("duplicate section", a1 + a1, "duplicate-section", 4, "line 1 wins");
        Row("Action1 and Action10", a1 + "[Action10]\n" + Paths("C:\\x", "E:\\y"), "duplicate-section", 0);
        InAction1("Action07", "[Action07]\n", "unloaded-section", "\"Action7\"");
        InAction1("Action 7", "[Action 7]\n", "unloaded-section", "\"Action7\"");
        InAction1("Action0", "[Action0]\n", "unloaded-section", "start at 1");
        InAction1("Action-3", "[Action-3]\n", "unloaded-section", "start at 1");
        InAction1("Action0x10", "[Action0x10]\n", "unloaded-section", "hexadecimal: rename it \"Action16\"");
        InAction1("Action1e3", "[Action1e3]\n", "unloaded-section", "exponent: rename it \"Action1000\"");
        InAction1("beyond 32 bits", "[Action99999999999]\n", "unloaded-section", "larger than 2147483647");
        InAction1("Actions", "[Actions]\n", "unloaded-section");
        Row("action7 lower case", "[action7]\n" + Paths(), "unloaded-section", 0);
        Row("before first header", "stray\n" + a1, "before-first-header", 1, "stray");
        Row("comment before first header", "; made by hand\n" + a1, "before-first-header", 0);
        InAction1("bad header", "[Action2\nMask=x\n", "bad-header", "belong to [Action1]");
        Row("good header", a1 + "[Action2]\n" + Paths("C:\\In2", "D:\\Out2"), "bad-header", 0);
        Row("no sections", "\nPath1=C:\\x\n", "no-sections", 2, "no section header");
        Row("only a header", "[Default]\n", "no-sections", 0);
        InAction1("ignore line naming no rule", "; mbscript: ignore shared-targets\n", "bad-ignore",
                  "\"shared-targets\"");
        InAction1("ignore line naming rules", ";mbscript: ignore mask-form,run-order\n", "bad-ignore");
        // Values
        InAction1("invalid date", "Min Date Filter=31/04/2009\n", "invalid-date",
                  "Invalid day: \"31/04/2009\" is not a date: expected dd/MM/yyyy (en_GB)");
        InAction1("leap day", "Min Date Filter=29/02/2008\n", "invalid-date");
        InAction1("junk after digits", "Time Check Precision=5abc\n", "bad-number", "read as 5");
        InAction1("out of range", "Time Check Precision=99999999999\n", "bad-number", "read as 2147483647");
        InAction1("64-bit size", "Min Size Filter=99999999999\n", "bad-number");
        InAction1("no number", "Search_subdir=yes\n", "bad-number", "read as 0");
        InAction1("flag 0", "Search_subdir=0\n", "bad-number");
        for (const SettingField &field : SettingFields()) // 2 is a number, a code or a mask, but no flag
            Row(qPrintable(field.Key() + QStringLiteral(" 2")),
                "[Action1]\n" + Paths() + field.Key().toLatin1() + "=2\n", "bad-number", field.IsFlag() ? 4 : 0,
                field.IsFlag() ? "counts as on" : "");
        InAction1("operation 12", "Operation=12\n", "unknown-code", "operation code 12");
        InAction1("mask 64", "Skip Files Mask=71\n", "unknown-code", "0x40");
        Row("empty override", "[Default]\nMask=*.doc\n" + a1 + "Mask=\n", "empty-override", 6,
            "\"Default\" sets \"*.doc\"; remove");
        InAction1("empty without Default", "Mask=\n", "empty-override");
        Row("masks run together", a1 + "Mask=*.pdf *.docx\n", "mask-form", 4, "\"*.pdf *.docx\"");
        Row("mask with a leading space", a1 + "Mask=*.pdf; *.docx\n", "mask-form", 4, "\" *.docx\"");
        InAction1("a name with a space", "Mask=Annual Report*.xlsx;*.pdf\n", "mask-form");
        Row("relative path", "[Action1]\n" + Paths("Reports", "D:\\x"), "path-form", 2, "its working folder");
        Row("drive-relative path", "[Action1]\n" + Paths("C:Data", "D:\\x"), "path-form", 2,
            "current folder of drive C:");
        Row("path without a drive", "[Action1]\n" + Paths("\\Shared\\Docs", "D:\\x"), "path-form", 2, "current drive");
        Row("quoted path", "[Action1]\n" + Paths("\"C:\\Data\"", "D:\\x"), "path-form", 2, "double quote");
        Row("trailing dot", "[Action1]\n" + Paths("C:\\Data", "D:\\x."), "path-form", 3, "ends in a dot");
        Row("forbidden character", "[Action1]\n" + Paths("C:\\Data", "D:\\a|b"), "path-form", 3, "forbids");
        Row("sound paths", "[Action1]\n" + Paths("\\\\?\\UNC\\srv\\share\\%USERNAME%", "D:\\Sales\\50%_Q1\\data"),
            "path-form", 0);
        // What the actions do
        Row("missing target", "[Action1]\nPath1=C:\\x\n", "missing-path", 1, "no target");
        Row("target from Default", "[Default]\nPath2=D:\\y\n[Action1]\nPath1=C:\\x\n", "missing-path", 0);
        Row("same path", "[Action1]\n" + Paths("C:\\Data", "c:/data./ "), "same-path", 3, "same folder");
        Row("prefix only", "[Action1]\n" + Paths("C:\\Data", "C:\\Data2"), "same-path", 0);
        const QByteArray nested = "[Action1]\n" + Paths("C:\\Data", "C:\\Data\\Backup");
        Row("nested", nested, "nested-paths", 3, "copies into what it reads");
        Row("nested, no subdirectories", nested + "Search_subdir=0\n", "nested-paths", 0);
        Row("prune a drive root", "[Action1]\n" + Paths("C:\\Data", "G:\\") + "Operation=4\n", "root-target", 3,
            "a whole drive");
        Row("prune a bare share", "[Action1]\n" + Paths("C:\\Data", "\\\\srv\\share\\") + "Operation=4\n",
            "root-target", 3, "a whole share");
        Row("remove duplicates at a root", "[Action1]\n" + Paths("C:\\Data", "G:") + "Operation=5\n", "root-target", 0);
        Row("prune below the root", "[Action1]\n" + Paths("C:\\Data", "G:\\Backup") + "Operation=4\n", "root-target",
            0);
        Row("shared target", TwoActions("C:\\In1", "D:\\Out1", "Operation=3\n", "C:\\In2", "d:/out1/", "Operation=1\n"),
            "shared-target", 7, "same folder as Action1");
        Row("target inside target",
            TwoActions("C:\\In1", "D:\\Out1", "Operation=7\n", "C:\\In2", "D:\\Out1\\x", "Operation=2\n"),
            "shared-target", 7, "inside Action1");
        Row("target sharing a prefix",
            TwoActions("C:\\In1", "D:\\Out1", "Operation=3\n", "C:\\In2", "D:\\Out10", "Operation=3\n"),
            "shared-target", 0);
        Row("report beside a copy",
            TwoActions("C:\\In1", "D:\\Out1", "Operation=3\n", "C:\\In2", "D:\\Out1", "Operation=6\n"), "shared-target",
            0);
        Row("sync hub", TwoActions("C:\\In1", "D:\\Hub", "Operation=0\n", "C:\\In2", "D:\\Hub", "Operation=-2\n"),
            "shared-target", 0);
        Row("prune a folder another writes",
            TwoActions("C:\\In1", "D:\\Out", "Operation=3\n", "C:\\In2", "D:\\Out", "Operation=4\n"),
            "prune-shared-target", 7,
            "Action2 (Update & Prune Target) removes files from \"D:\\Out\", the folder Action1 (Update Target) writes "
            "into");
        Row("prune holding what another writes",
            TwoActions("C:\\In1", "D:\\Out\\Anna", "Operation=1\n", "C:\\In2", "D:\\Out", "Operation=5\n"),
            "prune-shared-target", 7, "which holds \"D:\\Out\\Anna\", a folder Action1");
        Row("prune beside empty folders removed",
            TwoActions("C:\\In1", "D:\\Out", "Operation=8\n", "C:\\In2", "D:\\Out", "Operation=4\n"),
            "prune-shared-target", 0);
        Row("staged chain",
            TwoActions("C:\\Data", "D:\\Stage", "Operation=4\n", "D:\\Stage", "E:\\Off", "Operation=4\n"), "run-order",
            0);
        Row("staged chain in the wrong order",
            TwoActions("D:\\Stage", "E:\\Off", "Operation=4\n", "C:\\Data", "D:\\Stage\\", "Operation=4\n"),
            "run-order", 2, "Action1 reads \"D:\\Stage\", a folder Action2 writes into after it");
        Row("reading below a later target",
            TwoActions("D:\\Stage\\In", "E:\\Off", "Operation=3\n", "C:\\Data", "D:\\Stage", "Operation=3\n"),
            "run-order", 2, "lies inside \"D:\\Stage\"");
        Row("empty size filter", a1 + "Min Size Filter=10\nMax Size Filter=5\n", "empty-filter", 5, "matches nothing");
        Row("empty date filter", a1 + "Min Date Filter=02/01/2020\nMax Date Filter=01/01/2020\n", "empty-filter", 5,
            "before 2020-01-02 and after 2020-01-01");
        InAction1("reversed empty filter", "Min Size Filter=10\nMax Size Filter=5\nReverse Filters=1\n",
                  "empty-filter");
        InAction1("date to come", "Min Date Filter=16/03/2026\n", "future-date", "2026-03-16, a day still to come");
        InAction1("date of today", "Min Date Filter=15/03/2026\n", "future-date");
        InAction1("today ahead", "Min Date Filter=%%today+30\n", "future-date");
        Row("no actions", "[Default]\nMask=x\n", "no-actions", -1, "no action");
        Row("one action", a1, "no-actions", 0);
        // Ignore lines: in a section for it, before the first header for the whole script.
        Row("ignored in its section", a1 + "; mbscript: ignore mask-form, bad-number\nMask=*.a *.b\n", "mask-form", 0);
        Row("ignored in another section", "[Action2]\n; mbscript: ignore mask-form\n" + a1 + "Mask=*.a *.b\n",
            "mask-form", 6);
        Row("ignored in the whole script", "# mbscript: ignore mask-form\n" + a1 + "Mask=*.a *.b\n", "mask-form", 0);
    }

    void rules()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, rule);
        QFETCH(int, line);
        QFETCH(QString, message);
        const std::vector<CheckProblem> problems = Problems(script);
        const std::set<QString> errors{"missing-path", "same-path", "nested-paths", "prune-shared-target"};
        auto found =
            std::find_if(problems.begin(), problems.end(), [&](const CheckProblem &p) { return p.rule == rule; });
        QString all;
        for (const CheckProblem &p : problems)
            all += QStringLiteral("%1: %2 [%3]\n").arg(p.line).arg(p.message, p.rule);
        QVERIFY2((found != problems.end()) == (line != 0), qPrintable(all));
        if (line == 0)
            return;
        QCOMPARE(found->line, qsizetype(line < 0 ? 0 : line));
        QVERIFY2(found->message.contains(message), qPrintable(found->message));
        const bool error = errors.count(rule) || (rule == QLatin1String("root-target") && script.contains("=4\n"));
        QCOMPARE(found->severity, error ? CheckSeverity::Error : CheckSeverity::Warning);
    }

    // Scripts as administrators write them: what each must report ("rule Section"),
    // and the rules that must stay quiet on it.
    void realScripts_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("required");
        QTest::addColumn<QStringList>("forbidden");
        const QStringList pathRules{"same-path",           "nested-paths", "shared-target",
                                    "prune-shared-target", "run-order",    "root-target"};

        QTest::newRow("nightly mirror of shares to a USB disk")
            << Lines({"[Default]", "Operation=4", "Search_subdir=1", "Confirm Updates=0", "[Action1]",
                      "Path1=\\\\fileserver\\Finance", "Path2=F:\\Mirror\\Finance", "[Action2]",
                      "Path1=\\\\fileserver\\Sales", "Path2=F:\\Mirror\\Sales", "Operaton=4", "[Action3]",
                      "Path1=\\\\FileServer\\HR\\", "Path2=F:\\Mirror\\HR"})
            << QStringList{"unknown-key Action2"} << pathRules + QStringList{"path-form", "bad-number"};
        QTest::newRow("two-way laptop sync through a hub")
            << Lines({"[Default]", "Operation=0", "Path2=\\\\nas01\\home\\anna\\Documents", "[Action1]",
                      "Path1=C:\\Users\\anna\\Documents", "[Action2]", "Path1=D:\\Laptop2\\Documents",
                      "Path2=\\\\NAS01\\Home\\Anna\\Documents\\"})
            << QStringList{} << pathRules;
        QTest::newRow("staged chain: stage locally, then off-site")
            << Lines({"[Action1]", "Path1=C:\\Data", "Path2=D:\\Stage", "Operation=4", "[Action2]", "Path1=D:\\Stage\\",
                      "Path2=\\\\offsite\\backup\\stage", "Operation=4"})
            << QStringList{} << pathRules;
        QTest::newRow("pruned backups sharing Default's target")
            << Lines({"[Default]", "Path2=E:\\Backup", "Operation=4", "[Action1]", "Path1=C:\\Users\\anna", "[Action2]",
                      "Path1=C:\\Users\\ben", "[Action3]", "Path1=D:\\Shared"})
            << QStringList{"prune-shared-target Action1", "prune-shared-target Action2", "prune-shared-target Action3"}
            << QStringList{"shared-target", "run-order"};
        QTest::newRow("prune inside a two-way synced folder")
            << Lines({"[Action1]", "Path1=C:\\Sync", "Path2=\\\\nas01\\sync", "Operation=0", "[Action2]",
                      "Path1=D:\\Old projects", "Path2=C:\\Sync\\Archive", "Operation=-6"})
            << QStringList{"prune-shared-target Action2"} << QStringList{"shared-target", "nested-paths"};
        QTest::newRow("UNC paths in mixed case, one pruned")
            << Lines({"[Action1]", "Path1=C:\\Users\\anna", "Path2=\\\\nas01\\Backup\\Anna", "Operation=3", "[Action2]",
                      "Path1=D:\\Anna", "Path2=\\\\NAS01\\BACKUP\\anna\\", "Operation=4"})
            << QStringList{"prune-shared-target Action2"} << QStringList{"path-form", "run-order"};
        QTest::newRow("yearly date-filtered archives")
            << Lines({"[Default]", "Path1=D:\\Projects", "Operation=3", "[Action1]", "Path2=E:\\Archive\\2024",
                      "Min Date Filter=01/01/2024", "Max Date Filter=31/12/2024", "[Action2]",
                      "Path2=E:\\Archive\\Older", "Min Date Filter=01/01/2024", "Max Date Filter=01/01/2000",
                      "Reverse Filters=1", "[Action3]", "Path2=E:\\Archive\\Recent", "Min Date Filter=%%today-365",
                      "[Action4]", "Path2=E:\\Archive\\2027", "Min Date Filter=01/01/2027"})
            << QStringList{"future-date Action4"} << QStringList{"invalid-date", "empty-filter", "shared-target"};
        QTest::newRow("paths pasted with quotes and spaces")
            << Lines({"[Action1]", "Path1=\"C:\\Users\\anna\\Documents\"", "Path2=\"C:\\Users\\anna\\Documents\"",
                      "[Action2]", "Path1=D:\\Photos ", "Path2=E:\\Photos", "Operation=3"})
            << QStringList{"path-form Action1", "path-form Action2"} << QStringList{"same-path", "missing-path"};
        QTest::newRow("long-path prefixes")
            << Lines({"[Action1]", "Path1=C:\\Projects", "Path2=\\\\?\\E:\\Backup\\Projects", "Operation=4",
                      "[Action2]", "Path1=\\\\?\\UNC\\nas01\\projects", "Path2=E:\\Backup\\Projects\\..\\Projects\\Old",
                      "Operation=3", "[Action3]", "Path1=\\\\nas01\\projects\\", "Path2=\\\\.\\F:\\Projects",
                      "Operation=3"})
            << QStringList{"prune-shared-target Action1"} << QStringList{"path-form", "run-order", "same-path"};
        QTest::newRow("hand-edited typos")
            << Lines({"; mbscript: ignore empty-override", "[Default]", "Mask=*.pdf *.docx", "[Action1]",
                      "Path1=C:\\Data", "Path2=E:\\Data", "Serch_subdir=1", "Path2 =E:\\Other", ";Path2=E:\\Old",
                      "Mask=", "Path1=C:\\Data2", "[Action 2]", "Path1=C:\\x"})
            << QStringList{"unknown-key Action1", "key-not-matched Action1", "duplicate-key Action1",
                           "mask-form Default", "unloaded-section Action 2"}
            << QStringList{"empty-override", "missing-path"};
    }

    void realScripts()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, required);
        QFETCH(QStringList, forbidden);
        QStringList found;
        for (const CheckProblem &p : Problems(script))
            found << p.rule + u' ' + p.section;
        for (const QString &finding : required)
            QVERIFY2(found.contains(finding), qPrintable(finding + u'\n' + found.join(u'\n')));
        for (const QString &finding : found)
            QVERIFY2(!forbidden.contains(finding.section(u' ', 0, 0)), qPrintable(finding));
    }

    // What the rules above leave out of how Windows resolves a path.
    void pathKeys_data()
    {
        QTest::addColumn<QString>("outer");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<int>("relation"); // 0 unrelated, 1 the same, 2 inner lies inside outer

        QTest::newRow("dot dot") << "C:\\Data"
                                 << "C:\\Other\\..\\Data\\.\\x" << 2;
        QTest::newRow("dot dot at the root") << "C:\\"
                                             << "C:\\..\\x" << 2;
        QTest::newRow("dot dot at the share") << "\\\\srv\\share\\x"
                                              << "\\\\srv\\share\\..\\..\\x\\y" << 2;
        QTest::newRow("trailing dots and spaces") << "C:\\Data. .\\x"
                                                  << "c:\\data\\X  " << 1;
        QTest::newRow("device prefixes") << "\\\\?\\C:\\x"
                                         << "\\\\.\\c:\\X\\y" << 2;
        QTest::newRow("UNC prefix") << "\\\\?\\UNC\\srv\\share\\x"
                                    << "\\\\SRV\\Share\\x\\" << 1;
        QTest::newRow("other drive") << "C:\\Data"
                                     << "D:\\Data\\x" << 0;
        QTest::newRow("same variable") << "%USERPROFILE%\\Documents"
                                       << "%userprofile%\\documents\\Backup" << 2;
        QTest::newRow("other variable") << "%USERPROFILE%\\Documents"
                                        << "%HOMEPATH%\\Documents\\x" << 0;
        QTest::newRow("no variable") << "D:\\Sales\\50%_Q1"
                                     << "D:\\Sales\\50%_Q1\\data" << 2;
        QTest::newRow("dot dot after a variable") << "C:\\%SUB%\\.."
                                                  << "C:\\x" << 0;
        QTest::newRow("drive's current folder") << "C:Data"
                                                << "C:\\Data" << 0;
        QTest::newRow("current drive") << "\\Shared\\Docs"
                                       << "\\Shared\\Docs\\Old" << 2;
        QTest::newRow("current drive and a drive") << "\\Shared"
                                                   << "C:\\Shared" << 0;
        QTest::newRow("quoted") << "\"C:\\Data\""
                                << "\"C:\\Data\"" << 0;
    }

    void pathKeys()
    {
        QFETCH(QString, outer);
        QFETCH(QString, inner);
        const CPathKey a(outer), b(inner);
        QTEST(a == b ? 1 : a.Contains(b) ? 2 : 0, "relation");
        QVERIFY(!b.Contains(a));
    }
};

QTEST_GUILESS_MAIN(TestCheck)
#include "tst_check.moc"
