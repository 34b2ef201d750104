#include "ScriptFixture.h"
#include "framework/Clock.h"
#include "framework/ScriptedModalUi.h"
#include "script/SectionTreeBuilder.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

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

quint64 FileTimeUtc(int y, int m, int d, int h)
{
    const QDateTime utc(QDate(y, m, d), QTime(h, 0), Qt::UTC);
    return quint64(utc.toMSecsSinceEpoch()) * 10000 + 116444736000000000ULL;
}

// Writes down every call the loader makes to a builder.
class RecordingBuilder final : public ISectionTreeBuilder
{
public:
    QStringList calls;

    void BeginRoot(const QString &name) override { calls << QStringLiteral("begin ") + name; }
    void KeyFound(const SettingField &field, const CSynchSettings &record, QStringView rawValue,
                  qsizetype lineIndex) override
    {
        calls << QStringLiteral("key %1 row %2 line %3 raw \"%4\" now %5")
                     .arg(field.Key())
                     .arg(field.catalogueRow)
                     .arg(lineIndex)
                     .arg(rawValue.toString(), field.ValueText(record));
    }
    void EndRoot(const CSection *section, const CSynchSettings &record) override
    {
        calls << QStringLiteral("end %1 mask %2").arg(section ? section->m_strName : QStringLiteral("(none)"),
                                                      record.m_strMask);
    }
};

} // namespace

class TestLoadScript : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void load_data();
    void load();
    void unreadableEmptiesTheDocument();
    void emptyFileLoadsNothingSilently();
    void builderHearsRootsAndKeysInTableOrder();
    void dates_data();
    void dates();

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

    QTest::newRow("ascending, not file order")
        << QByteArray("[Default]\r\n[Action3]\r\nMask=3\r\n[Action1]\r\nMask=1\r\n")
        << QStringList{"Action1", "Action3"} << QStringList{"Action1.Mask=1", "Action3.Mask=3"};
    QTest::newRow("case of the name ignored") << QByteArray("[action2]\nMask=a\n") << QStringList{"Action2"}
                                               << QStringList{"Action2.Mask=a"};
    QTest::newRow("leading zero never loads")
        << QByteArray("[Action01]\nMask=z\n[Action1]\nMask=1\n") << QStringList{"Action1"}
        << QStringList{"Action1.Mask=1"};
    QTest::newRow("only Action02") << QByteArray("[Action02]\nMask=z\n") << QStringList{} << QStringList{};
    QTest::newRow("odd names")
        << QByteArray("[Action0]\n[Action-1]\n[Action+1]\n[Action 1]\n[Actions]\n[Action1x]\n[Action]\n"
                      "[Action2147483648]\n[ Action1]\n")
        << QStringList{} << QStringList{};
    QTest::newRow("far apart numbers") << QByteArray("[Action2000000000]\nMask=b\n[Action1]\nMask=a\n")
                                       << QStringList{"Action1", "Action2000000000"}
                                       << QStringList{"Action2000000000.Mask=b"};
    QTest::newRow("largest number") << QByteArray("[Action2147483647]\n") << QStringList{"Action2147483647"}
                                    << QStringList{};
    QTest::newRow("inheritance")
        << QByteArray("[Default]\nMask=*.doc\nOperation=3\nPath1=C:\\d\n[Action1]\nOperation=-1\nPath1=\n"
                      "[Action2]\n")
        << QStringList{"Action1", "Action2"}
        << QStringList{"Default.Mask=*.doc", "Action1.Mask=*.doc", "Action1.Operation=-1", "Action1.Path1=",
                       "Action2.Operation=3", "Action2.Path1=C:\\d", "Action2.Confirm Updates=1"};
    QTest::newRow("no Default: built-in defaults")
        << QByteArray("[Action1]\nPath2=x\n") << QStringList{"Action1"}
        << QStringList{"Action1.Mask=*.*", "Action1.Ignore Attributes=55", "Action1.Time Check Precision=3"};
    QTest::newRow("blanks around =")
        << QByteArray("[Action1]\nMask =a\nPath1= C:\\x \n") << QStringList{"Action1"}
        << QStringList{"Action1.Mask=*.*", "Action1.Path1= C:\\x "};
    QTest::newRow("first line and first section count")
        << QByteArray("[Action1]\nMask=first\nMask=second\n[ACTION1]\nPath1=dead\n") << QStringList{"Action1"}
        << QStringList{"Action1.Mask=first", "Action1.Path1="};
    QTest::newRow("empty values")
        << QByteArray("[Default]\nTime Check Precision=9\n[Action1]\nTime Check Precision=\nMask=\n")
        << QStringList{"Action1"} << QStringList{"Action1.Time Check Precision=0", "Action1.Mask="};
    QTest::newRow("numbers as the runtime reads them")
        << QByteArray("[Action1]\nSearch_subdir=yes\nCheck Same Size Files=2\nSort Compare= 7x\n"
                      "Skip Files Mask=-1\nOperation=99999999999\n")
        << QStringList{"Action1"}
        << QStringList{"Action1.Search_subdir=0", "Action1.Check Same Size Files=2", "Action1.Sort Compare=7",
                       "Action1.Skip Files Mask=4294967295", "Action1.Operation=2147483647"};
    QTest::newRow("64-bit sizes")
        << QByteArray("[Action1]\nMin Size Filter=12345678901234\nMax Size Filter=99999999999999999999\n")
        << QStringList{"Action1"}
        << QStringList{"Action1.Min Size Filter=12345678901234", "Action1.Max Size Filter=9223372036854775807"};
    QTest::newRow("seconds made non-negative")
        << QByteArray("[Default]\nAdd Seconds To Second Dir=-5\n[Action1]\n[Action2]\n"
                      "Add Seconds To Second Dir=-2147483648\n")
        << QStringList{"Action1", "Action2"}
        << QStringList{"Default.Add Seconds To Second Dir=5", "Action1.Add Seconds To Second Dir=5",
                       "Action2.Add Seconds To Second Dir=2147483647"};
    QTest::newRow("header and footer unescaped")
        << QByteArray("[Default]\nOutput Footer=F\\tG\n[Action1]\nOutput Header=a\\tb\\r\\nc\nDisplay Columns=\\t\n")
        << QStringList{"Action1"}
        << QStringList{"Action1.Output Header=a\tb\r\nc", "Action1.Output Footer=F\tG",
                       "Action1.Display Columns=\\t"};
    QTest::newRow("@= lines")
        << QByteArray("[Default]\n@=d1\n@=d2\n[Action1]\n@=a\n@x=no\n[Action2]\n")
        << QStringList{"Action1", "Action2"}
        << QStringList{"Default.@=@=d1;@=d2", "Action1.@=@=a", "Action2.@="};
}

void TestLoadScript::load()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, names);
    QFETCH(QStringList, checks);
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CSynchArray document;
    QCOMPARE(document.LoadScript(m_files.Write(script)), int(names.size()));
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
        QVERIFY2(field->ValueText(*record) == expected, qPrintable(check + QStringLiteral(" but got ")
                                                                   + field->ValueText(*record)));
    }
    QVERIFY(ui.messages.isEmpty());
}

void TestLoadScript::unreadableEmptiesTheDocument()
{
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CSynchArray document;
    QCOMPARE(document.LoadScript(m_files.Write("[Default]\n@=d\nMask=m\n[Action1]\n")), 1);
    QCOMPARE(document.LoadScript(m_files.Path(QStringLiteral("missing.mbs"))), 0);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(document.GetSize(), 0);
    QVERIFY(document.m_arrActionNames.isEmpty());
    QVERIFY(document.m_arrDefaultAtLines.isEmpty());
    QVERIFY(document.m_Default.IsEqual(CSynchSettings()));
}

void TestLoadScript::emptyFileLoadsNothingSilently()
{
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CSynchArray document;
    RecordingBuilder builder;
    QCOMPARE(document.LoadScript(m_files.Write(QByteArray()), &builder), 0);
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(builder.calls.isEmpty());
}

void TestLoadScript::builderHearsRootsAndKeysInTableOrder()
{
    CSynchArray document;
    RecordingBuilder builder;
    const QString path = m_files.Write("[Action2]\n;note\nOutput Header=x\\ty\nSkip Files Mask=20\nMask=*.c\n"
                                       "Mask=*.d\nAdd Seconds To Second Dir=-3\n[Other]\nMask=o\n");
    QCOMPARE(document.LoadScript(path, &builder), 1);
    const QStringList expected{
        "begin Default",
        "end (none) mask *.*",
        "begin Action2",
        "key Mask row 2 line 2 raw \"*.c\" now *.c",
        "key Skip Files Mask row 38 line 1 raw \"20\" now 20",
        "key Add Seconds To Second Dir row -1 line 4 raw \"-3\" now -3",
        "key Output Header row -1 line 0 raw \"x\\ty\" now x\\ty",
        "end Action2 mask *.c",
    };
    QCOMPARE(builder.calls, expected);
}

void TestLoadScript::dates_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("report");
    QTest::addColumn<quint64>("minDate");
    QTest::addColumn<quint64>("maxDate");
    QTest::addColumn<QStringList>("messageParts");

    const quint64 june15 = FileTimeUtc(2021, 6, 14, 22);  // local midnight, summer time
    const quint64 jan1 = FileTimeUtc(2020, 12, 31, 23);
    QTest::newRow("valid, from local time")
        << QByteArray("[Action1]\nMin Date Filter=15/06/2021\nMax Date Filter=01/01/2021\n") << true << june15
        << jan1 << QStringList{};
    QTest::newRow("today with an offset") << QByteArray("[Action1]\nMax Date Filter=%%today-1\n") << true
                                          << quint64(0) << FileTimeUtc(2021, 3, 8, 23) << QStringList{};
    QTest::newRow("empty keeps the inherited date")
        << QByteArray("[Default]\nMin Date Filter=15/06/2021\n[Action1]\nMin Date Filter=\n") << true << june15
        << quint64(0) << QStringList{};
    QTest::newRow("invalid keeps the inherited date, one message")
        << QByteArray("[Default]\nMin Date Filter=15/06/2021\n[Action1]\nMin Date Filter=31/02/2021\n") << true
        << june15 << quint64(0)
        << QStringList{"Invalid", "dates.mbs", "Action1", "Min Date Filter", "31/02/2021"};
    QTest::newRow("quiet load says nothing")
        << QByteArray("[Action1]\nMin Date Filter=31/02/2021\nMax Date Filter=nonsense\n") << false << quint64(0)
        << quint64(0) << QStringList{};
}

void TestLoadScript::dates()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, report);
    QFETCH(quint64, minDate);
    QFETCH(quint64, maxDate);
    QFETCH(QStringList, messageParts);
    FixedClock clock(QDateTime(QDate(2021, 3, 10), QTime(12, 0), Qt::UTC));
    ScopedClock clockScope(clock);
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CSynchArray document;
    LoadOptions options;
    options.reportInvalidDates = report;
    QCOMPARE(document.LoadScript(m_files.Write(script, QStringLiteral("dates.mbs")), nullptr, options), 1);
    QCOMPARE(document.GetAt(0)->m_nMinDate, minDate);
    QCOMPARE(document.GetAt(0)->m_nMaxDate, maxDate);
    QCOMPARE(ui.messages.size(), messageParts.isEmpty() ? 0 : 1);
    for (const QString &part : messageParts)
        QVERIFY2(ui.messages.first().contains(part), qPrintable(ui.messages.first()));
}

QTEST_GUILESS_MAIN(TestLoadScript)
#include "tst_loadscript.moc"
