#include "ScriptFixture.h"
#include "framework/Clock.h"
#include "framework/ScriptedModalUi.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <ctime>

namespace {

const SettingField *FieldByKey(const QString &key)
{
    for (const SettingField &field : SettingFields())
        if (field.Key() == key)
            return &field;
    return nullptr;
}

// "Min Date Filter=<FILETIME of the UTC hour>"
QString DateCheck(const char *key, int y, int m, int d, int h)
{
    const QDateTime utc(QDate(y, m, d), QTime(h, 0), Qt::UTC);
    return QStringLiteral("Action1.%1=%2").arg(QLatin1String(key)).arg(
        quint64(utc.toMSecsSinceEpoch()) * 10000 + 116444736000000000ULL);
}

} // namespace

class TestLoadScript : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void load_data();
    void load();
    void unreadableOrEmpty_data();
    void unreadableOrEmpty();

private:
    ScriptFixture m_files;
};

void TestLoadScript::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
}

void TestLoadScript::load_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("names");
    // "Section.Key=value": the value a record holds after the load;
    // "Default." checks the record read from the Default section.
    QTest::addColumn<QStringList>("checks");
    QTest::addColumn<QStringList>("messageParts");  // all in the one message; empty: no message

    const QStringList none;
    QTest::newRow("ascending, not file order, case of the name ignored")
        << QByteArray("[Default]\r\n[action3]\r\nMask=3\r\n[Action1]\r\nMask=1\r\n")
        << QStringList{"Action1", "Action3"} << QStringList{"Action1.Mask=1", "Action3.Mask=3"} << none;
    QTest::newRow("odd names, leading zero")
        << QByteArray("[Action01]\n[Action0]\n[Action-1]\n[Action+1]\n[Action 1]\n[Actions]\n[Action1x]\n[Action]\n"
                      "[Action2147483648]\n[ Action1]\n")
        << QStringList{} << QStringList{} << none;
    QTest::newRow("gaps skipped up to the largest number")
        << QByteArray("[Action2147483647]\nMask=b\n[Action1]\nMask=a\n") << QStringList{"Action1", "Action2147483647"}
        << QStringList{"Action2147483647.Mask=b"} << none;
    QTest::newRow("inheritance, empty values")
        << QByteArray("[Default]\nMask=*.doc\nOperation=3\nPath1=C:\\d\nTime Check Precision=9\n[Action1]\n"
                      "Operation=-1\nPath1=\nTime Check Precision=\n[Action2]\nMask=\n")
        << QStringList{"Action1", "Action2"}
        << QStringList{"Default.Mask=*.doc", "Action1.Mask=*.doc", "Action1.Operation=-1", "Action1.Path1=",
                       "Action1.Time Check Precision=0", "Action2.Operation=3", "Action2.Path1=C:\\d",
                       "Action2.Mask=", "Action2.Confirm Updates=1"}
        << none;
    QTest::newRow("no Default: built-in defaults")
        << QByteArray("[Action1]\nPath2=x\n") << QStringList{"Action1"}
        << QStringList{"Default.Mask=*.*", "Action1.Mask=*.*", "Action1.Ignore Attributes=55",
                       "Action1.Time Check Precision=3"}
        << none;
    QTest::newRow("blanks around =, first line and first section count")
        << QByteArray("[Action1]\nMask =a\nPath1= C:\\x \nPath2=first\nPath2=second\n[ACTION1]\nMask=dead\n")
        << QStringList{"Action1"} << QStringList{"Action1.Mask=*.*", "Action1.Path1= C:\\x ", "Action1.Path2=first"}
        << none;
    QTest::newRow("numbers as the runtime reads them, 64-bit sizes")
        << QByteArray("[Action1]\nSearch_subdir=yes\nCheck Same Size Files=2\nSort Compare= 7x\n"
                      "Skip Files Mask=-1\nOperation=99999999999\nMin Size Filter=12345678901234\n"
                      "Max Size Filter=99999999999999999999\n")
        << QStringList{"Action1"}
        << QStringList{"Action1.Search_subdir=0", "Action1.Check Same Size Files=2", "Action1.Sort Compare=7",
                       "Action1.Skip Files Mask=4294967295", "Action1.Operation=2147483647",
                       "Action1.Min Size Filter=12345678901234", "Action1.Max Size Filter=9223372036854775807"}
        << none;
    QTest::newRow("seconds made non-negative")
        << QByteArray("[Default]\nAdd Seconds To Second Dir=-5\n[Action1]\n[Action2]\n"
                      "Add Seconds To Second Dir=-2147483648\n")
        << QStringList{"Action1", "Action2"}
        << QStringList{"Default.Add Seconds To Second Dir=5", "Action1.Add Seconds To Second Dir=5",
                       "Action2.Add Seconds To Second Dir=2147483647"}
        << none;
    QTest::newRow("header and footer unescaped")
        << QByteArray("[Default]\nOutput Footer=F\\tG\n[Action1]\nOutput Header=a\\tb\\r\\nc\nDisplay Columns=\\t\n")
        << QStringList{"Action1"}
        << QStringList{"Action1.Output Header=a\tb\r\nc", "Action1.Output Footer=F\tG", "Action1.Display Columns=\\t"}
        << none;
    QTest::newRow("@= lines") << QByteArray("[Default]\n@=d1\n@=d2\n[Action1]\n@=a\n@x=no\n[Action2]\n")
                              << QStringList{"Action1", "Action2"}
                              << QStringList{"Default.@=@=d1;@=d2", "Action1.@=@=a", "Action2.@="} << none;
    // The clock says 10 March 2021; dates are local midnights in Paris.
    QTest::newRow("dates from local time, today with an offset")
        << QByteArray("[Action1]\nMin Date Filter=15/06/2021\nMax Date Filter=%%today-1\n") << QStringList{"Action1"}
        << QStringList{DateCheck("Min Date Filter", 2021, 6, 14, 22), DateCheck("Max Date Filter", 2021, 3, 8, 23)}
        << none;
    QTest::newRow("empty or invalid date keeps the inherited one, one message")
        << QByteArray("[Default]\nMin Date Filter=15/06/2021\nMax Date Filter=01/01/2021\n"
                      "[Action1]\nMin Date Filter=31/02/2021\nMax Date Filter=\n")
        << QStringList{"Action1"}
        << QStringList{DateCheck("Min Date Filter", 2021, 6, 14, 22), DateCheck("Max Date Filter", 2020, 12, 31, 23)}
        << QStringList{"Invalid", "Action1", "Min Date Filter", "31/02/2021"};
}

void TestLoadScript::load()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, names);
    QFETCH(QStringList, checks);
    QFETCH(QStringList, messageParts);
    FixedClock clock(QDateTime(QDate(2021, 3, 10), QTime(12, 0), Qt::UTC));
    ScopedClock clockScope(clock);
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CSynchArray document;  // a load replaces everything an earlier one left
    QCOMPARE(document.LoadScript(m_files.Write("[Default]\n@=old\nMask=old\n[Action1]\n[Action9]\n")), 2);
    const QString path = m_files.Write(script);
    QCOMPARE(document.LoadScript(path), int(names.size()));
    QCOMPARE(document.GetSize(), names.size());
    QCOMPARE(document.m_arrActionNames, names);
    for (const QString &check : checks) {
        const qsizetype dot = check.indexOf(QLatin1Char('.'));
        const qsizetype equals = check.indexOf(QLatin1Char('='), dot);
        const QString name = check.left(dot);
        const QString key = check.mid(dot + 1, equals - dot - 1);
        const QString expected = check.mid(equals + 1);
        const CSynchSettings *record = &document.m_Default;
        if (name != QLatin1String("Default")) {
            const qsizetype index = document.m_arrActionNames.indexOf(name);
            QVERIFY2(index >= 0, qPrintable(check));
            record = document.GetAt(index);
        }
        if (key == QLatin1String("@")) {
            QCOMPARE(record->m_arrAtLines.join(QLatin1Char(';')), expected);
            if (name == QLatin1String("Default"))
                QCOMPARE(document.m_arrDefaultAtLines, record->m_arrAtLines);
            continue;
        }
        const SettingField *field = FieldByKey(key);
        QVERIFY2(field, qPrintable(check));
        QVERIFY2(field->ValueText(*record) == expected,
                 qPrintable(check + QStringLiteral(" but got ") + field->ValueText(*record)));
    }
    QCOMPARE(ui.messages.size(), messageParts.isEmpty() ? 0 : 1);
    if (!messageParts.isEmpty())
        for (const QString &part : messageParts + QStringList{QFileInfo(path).fileName()})
            QVERIFY2(ui.messages.first().contains(part), qPrintable(ui.messages.first()));

    // The loads after a save or for a change check are quiet.
    LoadOptions quiet;
    quiet.reportInvalidDates = false;
    ui.messages.clear();
    QCOMPARE(document.LoadScript(path, nullptr, quiet), int(names.size()));
    QVERIFY(ui.messages.isEmpty());
}

void TestLoadScript::unreadableOrEmpty_data()
{
    QTest::addColumn<bool>("empty");
    QTest::newRow("unreadable: one message") << false;
    QTest::newRow("empty: silent") << true;
}

void TestLoadScript::unreadableOrEmpty()
{
    QFETCH(bool, empty);
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CSynchArray document;
    QCOMPARE(document.LoadScript(m_files.Write("[Default]\n@=d\nMask=m\n[Action1]\n")), 1);
    QCOMPARE(document.LoadScript(empty ? m_files.Write(QByteArray()) : m_files.Path(QStringLiteral("gone.mbs"))), 0);
    QCOMPARE(ui.messages.size(), empty ? 0 : 1);
    QCOMPARE(document.GetSize(), 0);
    QVERIFY(document.m_arrActionNames.isEmpty());
    QVERIFY(document.m_arrDefaultAtLines.isEmpty());
    QVERIFY(document.m_Default.IsEqual(CSynchSettings()));
}

QTEST_GUILESS_MAIN(TestLoadScript)
#include "tst_loadscript.moc"
