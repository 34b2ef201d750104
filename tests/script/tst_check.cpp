// The checker's rules, each firing on a small script and keeping quiet on its near miss.

#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/check/PathKey.h"
#include "script/check/ScriptChecker.h"

#include <QLocale>
#include <QTest>

#include <set>

namespace {

// An action's two paths, so that the rules about paths stay quiet.
QByteArray Paths(const char *first = "C:\\In1", const char *second = "D:\\Out1")
{
    return QByteArray("Path1=") + first + "\nPath2=" + second + "\n";
}

// Action1 from `in1` to `out1` with `more` lines, then Action2 from `in2` to `out2`.
QByteArray TwoActions(const char *in1, const char *out1, const char *more, const char *in2, const char *out2)
{
    return "[Action1]\n" + Paths(in1, out1) + more + "[Action2]\n" + Paths(in2, out2);
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
        // Reading
        InAction1("unknown key", "Serch_subdir=1\n", "unknown-key", "did you mean \"Search_subdir\"");
        InAction1("unknown key, underscores", "Search subdir=1\n", "unknown-key", "\"Search_subdir\"");
        InAction1("unknown key, far", "Colour=1\n", "unknown-key", "does not read it");
        InAction1("known key in other case", "search_SUBDIR=1\n", "unknown-key");
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
        InAction1("Actions", "[Actions]\n", "unloaded-section");
        Row("action7 lower case", "[action7]\n" + Paths(), "unloaded-section", 0);
        Row("before first header", "stray\n" + a1, "before-first-header", 1, "stray");
        Row("comment before first header", "; made by hand\n" + a1, "before-first-header", 0);
        InAction1("bad header", "[Action2\nMask=x\n", "bad-header", "belong to [Action1]");
        Row("good header", a1 + "[Action2]\n" + Paths("C:\\In2", "D:\\Out2"), "bad-header", 0);
        Row("no sections", "\nPath1=C:\\x\n", "no-sections", 2, "no section header");
        Row("only a header", "[Default]\n", "no-sections", 0);
        // Values
        InAction1("invalid date", "Min Date Filter=31/04/2009\n", "invalid-date", "Invalid day: \"31/04/2009\" is not a date of the picture dd/MM/yyyy");
        InAction1("leap day", "Min Date Filter=29/02/2008\n", "invalid-date");
        InAction1("junk after digits", "Time Check Precision=5abc\n", "bad-number", "read as 5");
        InAction1("trailing blank", "Time Check Precision=5 \n", "bad-number");
        InAction1("out of range", "Time Check Precision=99999999999\n", "bad-number", "read as 2147483647");
        InAction1("64-bit size", "Min Size Filter=99999999999\n", "bad-number");
        InAction1("no number", "Search_subdir=yes\n", "bad-number", "read as 0");
        InAction1("flag 0", "Search_subdir=0\n", "bad-number");
        for (const SettingField &field : SettingFields())  // 2 is a number, a code or a mask, but no flag
            Row(qPrintable(field.Key() + QStringLiteral(" 2")), "[Action1]\n" + Paths() + field.Key().toLatin1() + "=2\n",
                "bad-number", field.IsFlag() ? 4 : 0, field.IsFlag() ? "counts as on" : "");
        InAction1("operation 12", "Operation=12\n", "unknown-code", "operation code 12");
        InAction1("operation -10", "Operation=-10\n", "unknown-code");
        InAction1("sort 7", "Sort Compare=7\n", "unknown-code", "sort code 7");
        InAction1("mask 64", "Skip Files Mask=71\n", "unknown-code", "0x40");
        InAction1("mask 55", "Ignore Attributes=55\n", "unknown-code");
        Row("empty override", "[Default]\nMask=*.doc\n" + a1 + "Mask=\n", "empty-override", 6, "\"*.doc\"");
        InAction1("empty without Default", "Mask=\n", "empty-override");
        // What the actions do
        Row("missing target", "[Action1]\nPath1=C:\\x\n", "missing-path", 1, "no target");
        Row("target from Default", "[Default]\nPath2=D:\\y\n[Action1]\nPath1=C:\\x\n", "missing-path", 0);
        Row("same path", "[Action1]\n" + Paths("C:\\Data", "c:/data/"), "same-path", 3, "same folder");
        Row("prefix only", "[Action1]\n" + Paths("C:\\Data", "C:\\Data2"), "same-path", 0);
        const QByteArray nested = "[Action1]\n" + Paths("C:\\Data", "C:\\Data\\Backup");
        Row("nested", nested, "nested-paths", 3, "copies into what it reads");
        Row("nested, no subdirectories", nested + "Search_subdir=0\n", "nested-paths", 0);
        Row("nested in a variable", "[Action1]\n" + Paths("%TEMP%", "%TEMP%\\Backup"), "nested-paths", 0);
        Row("shared target", TwoActions("C:\\In1", "D:\\Out1", "", "C:\\In2", "d:/out1/"), "shared-target", 6, "same folder as Action1");
        Row("target inside target", TwoActions("C:\\In1", "D:\\Out1", "", "C:\\In2", "D:\\Out1\\x"), "shared-target", 6, "inside Action1");
        Row("target sharing a prefix", TwoActions("C:\\In1", "D:\\Out1", "", "C:\\In2", "D:\\Out10"), "shared-target", 0);
        Row("shared variable as written", TwoActions("C:\\a", "%TEMP%\\x", "", "C:\\b", "%temp%\\X\\"), "shared-target", 6, "same folder");
        Row("variable never nested", TwoActions("C:\\a", "%TEMP%", "", "C:\\b", "%TEMP%\\x"), "shared-target", 0);
        Row("prune another's source", TwoActions("C:\\x", "D:\\Data", "Operation=4\n", "d:\\data\\", "E:\\y"), "prune-input", 3, "which is Action2's source");
        Row("prune inside another's source", TwoActions("C:\\x", "D:\\Data\\Old", "Operation=-7\n", "D:\\Data", "E:\\y"), "prune-input", 3, "lies inside Action2's source");
        Row("prune holding another's source", "[Action2]\n" + Paths("D:\\Data\\In", "E:\\y") + "[Action1]\n" + Paths("C:\\x", "D:\\Data") + "Operation=8\n", "prune-input", 6, "which holds Action2's source");
        Row("prune sharing a prefix", TwoActions("C:\\x", "D:\\Data", "Operation=4\n", "D:\\Data2", "E:\\y"), "prune-input", 0);
        Row("update only", TwoActions("C:\\x", "D:\\Data", "Operation=3\n", "D:\\Data", "E:\\y"), "prune-input", 0);
        Row("empty size filter", a1 + "Min Size Filter=10\nMax Size Filter=5\n", "empty-filter", 5, "matches nothing");
        InAction1("no size limit", "Min Size Filter=10\nMax Size Filter=0\n", "empty-filter");
        Row("empty date filter", a1 + "Min Date Filter=02/01/2020\nMax Date Filter=01/01/2020\n", "empty-filter", 5, "2020-01-01");
        Row("no actions", "[Default]\nMask=x\n", "no-actions", -1, "no action");
        Row("one action", a1, "no-actions", 0);
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
        QVERIFY2((found != problems.end()) == (line != 0), qPrintable(all));
        if (line == 0)
            return;
        QCOMPARE(found->line, qsizetype(line < 0 ? 0 : line));
        QVERIFY2(found->message.contains(message), qPrintable(found->message));
        QCOMPARE(found->severity, errors.count(rule) ? CheckSeverity::Error : CheckSeverity::Warning);
        QCOMPARE(found->file, QStringLiteral("t.mbs"));
    }

    // The paths' corners the rules above leave out (case, separators, prefixes and variables they pin).
    void pathKeys_data()
    {
        QTest::addColumn<QString>("outer");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<int>("relation");  // 0 unrelated, 1 the same, 2 inner lies inside outer

        QTest::newRow("dot dot") << "C:\\Data" << "C:\\Other\\..\\Data\\.\\x" << 2;
        QTest::newRow("dot dot at the root") << "C:\\" << "C:\\..\\x" << 2;
        QTest::newRow("doubled separator") << "\\\\server\\share" << "\\\\server\\share\\\\x" << 2;
        QTest::newRow("other drive") << "C:\\Data" << "D:\\Data\\x" << 0;
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
