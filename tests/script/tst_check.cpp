// The checker's rules, each firing on a small script and keeping quiet on its near miss.

#include "script/SynchArray.h"
#include "script/check/PathKey.h"
#include "script/check/ScriptChecker.h"

#include <QLocale>
#include <QTest>

#include <set>

namespace {

// Two actions around the lines under test, so that the rules about paths stay quiet.
QByteArray Paths(const char *first = "C:\\In1", const char *second = "D:\\Out1")
{
    return QByteArray("Path1=") + first + "\nPath2=" + second + "\n";
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void rules_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("line");         // of the first problem of the rule; 0: the rule does not fire
        QTest::addColumn<QString>("message");  // a part of its message

        const QByteArray a1 = "[Action1]\n" + Paths();
        const QByteArray a2 = "[Action2]\n" + Paths("C:\\In2", "D:\\Out2");
        // Reading
        QTest::newRow("unknown key") << a1 + "Serch_subdir=1\n" << "unknown-key" << 4 << "did you mean \"Search_subdir\"";
        QTest::newRow("unknown key, underscores") << a1 + "Search subdir=1\n" << "unknown-key" << 4 << "\"Search_subdir\"";
        QTest::newRow("unknown key, far") << a1 + "Colour=1\n" << "unknown-key" << 4 << "does not read it";
        QTest::newRow("known key in other case") << a1 + "search_SUBDIR=1\n" << "unknown-key" << 0 << "";
        QTest::newRow("key not matched") << a1 + "Mask =*.txt\n" << "key-not-matched" << 4 << "Mask";
        QTest::newRow("space after =") << a1 + "Mask= *.txt\n" << "key-not-matched" << 0 << "";
        QTest::newRow("duplicate key") << a1 + "Mask=a\nMASK=b\n" << "duplicate-key" << 5 << "line 4 wins";
        QTest::newRow("key in Default and action") << "[Default]\nMask=a\n" + a1 + "Mask=b\n" << "duplicate-key" << 0 << "";
        QTest::newRow("duplicate section") << a1 + a1 << "duplicate-section" << 4 << "line 1 wins";
        QTest::newRow("Action1 and Action10") << a1 + "[Action10]\n" + Paths("C:\\x", "E:\\y")
                                              << "duplicate-section" << 0 << "";
        QTest::newRow("Action07") << a1 + "[Action07]\n" << "unloaded-section" << 4 << "\"Action7\"";
        QTest::newRow("Action 7") << a1 + "[Action 7]\n" << "unloaded-section" << 4 << "\"Action7\"";
        QTest::newRow("Action0") << a1 + "[Action0]\n" << "unloaded-section" << 4 << "start at 1";
        QTest::newRow("Action-3") << a1 + "[Action-3]\n" << "unloaded-section" << 4 << "start at 1";
        QTest::newRow("Actions") << a1 + "[Actions]\n" << "unloaded-section" << 0 << "";
        QTest::newRow("action7 lower case") << "[action7]\n" + Paths() << "unloaded-section" << 0 << "";
        QTest::newRow("before first header") << "stray\n" + a1 << "before-first-header" << 1 << "stray";
        QTest::newRow("comment before first header") << "; made by hand\n" + a1 << "before-first-header" << 0 << "";
        QTest::newRow("bad header") << a1 + "[Action2\nMask=x\n" << "bad-header" << 4 << "belong to [Action1]";
        QTest::newRow("good header") << a1 + a2 << "bad-header" << 0 << "";
        QTest::newRow("no sections") << QByteArray("\nPath1=C:\\x\n") << "no-sections" << 2 << "no section header";
        QTest::newRow("only a header") << QByteArray("[Default]\n") << "no-sections" << 0 << "";
        // Values
        QTest::newRow("invalid date") << a1 + "Min Date Filter=31/04/2009\n" << "invalid-date" << 4 << "Invalid day: \"31/04/2009\" is not a date of the picture dd/MM/yyyy";
        QTest::newRow("leap day") << a1 + "Min Date Filter=29/02/2008\n" << "invalid-date" << 0 << "";
        QTest::newRow("junk after digits") << a1 + "Time Check Precision=5abc\n" << "bad-number" << 4 << "read as 5";
        QTest::newRow("trailing blank") << a1 + "Time Check Precision=5 \n" << "bad-number" << 0 << "";
        QTest::newRow("out of range") << a1 + "Time Check Precision=99999999999\n" << "bad-number" << 4 << "read as 2147483647";
        QTest::newRow("64-bit size") << a1 + "Min Size Filter=99999999999\n" << "bad-number" << 0 << "";
        QTest::newRow("flag 2") << a1 + "Search_subdir=2\n" << "bad-number" << 4 << "counts as on";
        QTest::newRow("no number") << a1 + "Search_subdir=yes\n" << "bad-number" << 4 << "read as 0";
        QTest::newRow("flag 0") << a1 + "Search_subdir=0\n" << "bad-number" << 0 << "";
        QTest::newRow("operation 12") << a1 + "Operation=12\n" << "unknown-code" << 4 << "operation code 12";
        QTest::newRow("operation -10") << a1 + "Operation=-10\n" << "unknown-code" << 0 << "";
        QTest::newRow("sort 7") << a1 + "Sort Compare=7\n" << "unknown-code" << 4 << "sort code 7";
        QTest::newRow("mask 64") << a1 + "Skip Files Mask=71\n" << "unknown-code" << 4 << "0x40";
        QTest::newRow("mask 55") << a1 + "Ignore Attributes=55\n" << "unknown-code" << 0 << "";
        QTest::newRow("empty override") << "[Default]\nMask=*.doc\n" + a1 + "Mask=\n" << "empty-override" << 6 << "\"*.doc\"";
        QTest::newRow("empty without Default") << a1 + "Mask=\n" << "empty-override" << 0 << "";
        // What the actions do
        QTest::newRow("missing target") << QByteArray("[Action1]\nPath1=C:\\x\n") << "missing-path" << 1 << "no target";
        QTest::newRow("target from Default") << QByteArray("[Default]\nPath2=D:\\y\n[Action1]\nPath1=C:\\x\n") << "missing-path" << 0 << "";
        QTest::newRow("same path") << "[Action1]\n" + Paths("C:\\Data", "c:/data/") << "same-path" << 3 << "same folder";
        QTest::newRow("prefix only") << "[Action1]\n" + Paths("C:\\Data", "C:\\Data2") << "same-path" << 0 << "";
        QTest::newRow("nested") << "[Action1]\n" + Paths("C:\\Data", "C:\\Data\\Backup") << "nested-paths" << 3 << "copies into what it reads";
        QTest::newRow("nested, no subdirectories") << "[Action1]\n" + Paths("C:\\Data", "C:\\Data\\Backup") + "Search_subdir=0\n"
                                                   << "nested-paths" << 0 << "";
        QTest::newRow("nested in a variable") << "[Action1]\n" + Paths("%TEMP%", "%TEMP%\\Backup") << "nested-paths" << 0 << "";
        QTest::newRow("shared target") << a1 + "[Action2]\n" + Paths("C:\\In2", "d:/out1/") << "shared-target" << 6 << "same folder as Action1";
        QTest::newRow("target inside target") << a1 + "[Action2]\n" + Paths("C:\\In2", "D:\\Out1\\x") << "shared-target" << 6 << "inside Action1";
        QTest::newRow("target sharing a prefix") << a1 + "[Action2]\n" + Paths("C:\\In2", "D:\\Out10") << "shared-target" << 0 << "";
        QTest::newRow("shared variable as written") << "[Action1]\n" + Paths("C:\\a", "%TEMP%\\x") + "[Action2]\n" + Paths("C:\\b", "%temp%\\X\\")
                                                    << "shared-target" << 6 << "same folder";
        QTest::newRow("variable never nested") << "[Action1]\n" + Paths("C:\\a", "%TEMP%") + "[Action2]\n" + Paths("C:\\b", "%TEMP%\\x")
                                               << "shared-target" << 0 << "";
        QTest::newRow("prune another's source") << "[Action1]\n" + Paths("C:\\x", "D:\\Data") + "Operation=4\n[Action2]\n" + Paths("d:\\data\\", "E:\\y")
                                                << "prune-input" << 3 << "which is Action2's source";
        QTest::newRow("prune inside another's source") << "[Action1]\n" + Paths("C:\\x", "D:\\Data\\Old") + "Operation=-7\n[Action2]\n" + Paths("D:\\Data", "E:\\y")
                                                       << "prune-input" << 3 << "lies inside Action2's source";
        QTest::newRow("prune holding another's source") << "[Action2]\n" + Paths("D:\\Data\\In", "E:\\y") + "[Action1]\n" + Paths("C:\\x", "D:\\Data") + "Operation=8\n"
                                                        << "prune-input" << 6 << "which holds Action2's source";
        QTest::newRow("prune sharing a prefix") << "[Action1]\n" + Paths("C:\\x", "D:\\Data") + "Operation=4\n[Action2]\n" + Paths("D:\\Data2", "E:\\y")
                                                << "prune-input" << 0 << "";
        QTest::newRow("update only") << "[Action1]\n" + Paths("C:\\x", "D:\\Data") + "Operation=3\n[Action2]\n" + Paths("D:\\Data", "E:\\y")
                                     << "prune-input" << 0 << "";
        QTest::newRow("empty size filter") << a1 + "Min Size Filter=10\nMax Size Filter=5\n" << "empty-filter" << 5 << "matches nothing";
        QTest::newRow("no size limit") << a1 + "Min Size Filter=10\nMax Size Filter=0\n" << "empty-filter" << 0 << "";
        QTest::newRow("empty date filter") << a1 + "Min Date Filter=02/01/2020\nMax Date Filter=01/01/2020\n" << "empty-filter" << 5 << "2020-01-01";
        QTest::newRow("no actions") << QByteArray("[Default]\nMask=x\n") << "no-actions" << -1 << "no action";
        QTest::newRow("one action") << a1 << "no-actions" << 0 << "";
    }

    void rules()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, rule);
        QFETCH(int, line);
        QFETCH(QString, message);
        CSynchArray document;
        std::vector<CheckProblem> problems;
        CScriptChecker::CheckText(QStringLiteral("t.mbs"), QString::fromLatin1(script), document, problems);
        const std::set<QString> errors{"missing-path", "same-path", "nested-paths", "prune-input"};
        auto found = std::find_if(problems.begin(), problems.end(), [&](const CheckProblem &p) { return p.rule == rule; });
        QString all;
        for (const CheckProblem &p : problems)
            all += QStringLiteral("%1: %2 [%3]\n").arg(p.line).arg(p.message, p.rule);
        if (line == 0) {
            QVERIFY2(found == problems.end(), qPrintable(all));
            return;
        }
        QVERIFY2(found != problems.end(), qPrintable(all));
        QCOMPARE(found->line, qsizetype(line < 0 ? 0 : line));
        QVERIFY2(found->message.contains(message), qPrintable(found->message));
        QCOMPARE(found->severity, errors.count(rule) ? CheckSeverity::Error : CheckSeverity::Warning);
        QCOMPARE(found->file, QStringLiteral("t.mbs"));
        // Problems come in file order.
        QVERIFY(std::is_sorted(problems.begin(), problems.end(), [](const CheckProblem &a, const CheckProblem &b) {
            return (a.line ? a.line : 1 << 30) < (b.line ? b.line : 1 << 30);
        }));
    }

    void pathKeys_data()
    {
        QTest::addColumn<QString>("outer");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<int>("relation");  // 0 unrelated, 1 the same, 2 inner lies inside outer

        QTest::newRow("separators and case") << "C:\\Data\\" << "c:/DATA" << 1;
        QTest::newRow("dot dot") << "C:\\Data" << "C:\\Other\\..\\Data\\.\\x" << 2;
        QTest::newRow("dot dot at the root") << "C:\\" << "C:\\..\\x" << 2;
        QTest::newRow("doubled separator") << "\\\\server\\share" << "\\\\server\\share\\\\x" << 2;
        QTest::newRow("prefix of a name") << "D:\\Data" << "D:\\Data2" << 0;
        QTest::newRow("other drive") << "C:\\Data" << "D:\\Data\\x" << 0;
        QTest::newRow("variable, as written") << "%TEMP%\\a" << "%temp%\\A\\" << 1;
        QTest::newRow("variable, inside") << "%TEMP%" << "%TEMP%\\a" << 0;
        QTest::newRow("percent alone") << "C:\\100%" << "C:\\100%\\x" << 2;
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
