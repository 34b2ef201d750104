#include "framework/Clock.h"
#include "framework/ScriptedModalUi.h"
#include "script/DateValue.h"

#include <QLocale>
#include <QTest>

#include <ctime>

namespace {
const char kCet[] = "CET-1CEST,M3.5.0,M10.5.0/3";

void SetZone(const QByteArray &tz)
{
    qputenv("TZ", tz);
    tzset();
}
} // namespace

class TestDateValue : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void parse_data();
    void parse();
    void validate_data();
    void validate();
    void fileTime_data();
    void fileTime();
};

void TestDateValue::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    SetZone(kCet);
    QCOMPARE(GetShortDateFormat(), QStringLiteral("dd/MM/yyyy"));
}

void TestDateValue::parse_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("fields");  // day/month/year as parsed, -1 where not reached
    const QString gb = QStringLiteral("en_GB");
    QTest::newRow("numbers") << gb << "d/M/yyyy" << "5/1/2009" << true << "5/1/2009";
    QTest::newRow("default picture") << gb << "" << "05/01/2009" << true << "5/1/2009";
    QTest::newRow("space and sign, text left over") << gb << "d/M/yyyy" << " 5/+1/2009 x" << true << "5/1/2009";
    QTest::newRow("no digits count as 0") << gb << "d/M/yyyy" << "/1/2009" << true << "0/1/2009";
    QTest::newRow("text ends early") << gb << "d/M/yyyy" << "5/1/" << false << "5/1/-1";
    QTest::newRow("wrong separator") << gb << "d/M/yyyy" << "5-1-2009" << false << "5/-1/-1";
    QTest::newRow("other digits") << gb << "d/M/yyyy" << QString::fromUtf8("٥/١/٢٠٠٩") << true << "5/1/2009";
    QTest::newRow("short month any case") << gb << "d MMM yyyy" << "5 jAN 2009" << true << "5/1/2009";
    QTest::newRow("long month") << gb << "d MMMM yyyy" << "5 december 2009" << true << "5/12/2009";
    QTest::newRow("unknown month") << gb << "d MMM yyyy" << "5 Foo 2009" << false << "5/-1/-1";
    QTest::newRow("day name not kept") << gb << "dddd, d MMMM yyyy" << "Friday, 5 June 2009" << true << "5/6/2009";
    QTest::newRow("short day name") << gb << "ddd d/M/yy" << "sun 5/1/09" << true << "5/1/9";
    QTest::newRow("unknown day name") << gb << "ddd d/M/yyyy" << "Xyz 5/1/2009" << false << "-1/-1/-1";
    QTest::newRow("quoted literal") << gb << "'d' d/M/yyyy" << "d 5/1/2009" << true << "5/1/2009";
    QTest::newRow("German month") << "de_DE" << "d. MMMM yyyy" << QString::fromUtf8("5. märz 2009") << true << "5/3/2009";
    // The clock says 30 June 22:30 UTC, already 1 July in summer-time Paris.
    QTest::newRow("today is the local day") << gb << "" << "%%today" << true << "1/7/2026";
    QTest::newRow("today, any case, space, offset") << gb << "" << "%%TODAY -1" << true << "30/6/2026";
    QTest::newRow("today with month names") << gb << "d MMM yyyy" << "%%today-31" << true << "31/5/2026";
    QTest::newRow("today, two-digit picture") << gb << "d/M/yy" << "%%today+1" << true << "2/7/26";
}

void TestDateValue::parse()
{
    QFETCH(QString, locale);
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    FixedClock clock(QDateTime(QDate(2026, 6, 30), QTime(22, 30), Qt::UTC));
    ScopedClock install(clock);
    DateFields fields{7, 7, 7};
    QTEST(ParseDateText(fields, text, picture), "ok");
    QTEST(QStringLiteral("%1/%2/%3").arg(fields.day).arg(fields.month).arg(fields.year), "fields");
}

void TestDateValue::validate_data()
{
    QTest::addColumn<int>("nowYear");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("year");
    QTest::newRow("31 April") << 2026 << "31/4/2009" << "Invalid day" << 2009;
    QTest::newRow("29 Feb 2000") << 2026 << "29/2/2000" << "" << 2000;
    QTest::newRow("29 Feb 1900") << 2026 << "29/2/1900" << "Invalid day" << 1900;
    QTest::newRow("month before day") << 2026 << "13/13/2009" << "Invalid month" << 2009;
    QTest::newRow("month 0") << 2026 << "1/0/2009" << "Invalid month" << 2009;
    QTest::newRow("day 0") << 2026 << "0/1/2009" << "Invalid day" << 2009;
    QTest::newRow("80 is past") << 2026 << "1/1/80" << "" << 1980;
    QTest::newRow("77 is ahead") << 2026 << "1/1/77" << "" << 2077;
    QTest::newRow("50 in 2099") << 2099 << "1/1/50" << "" << 2050;
    QTest::newRow("47 in 2099") << 2099 << "1/1/47" << "" << 2147;
    QTest::newRow("1600") << 2026 << "1/1/1600" << "Invalid year" << 1600;
    QTest::newRow("30848") << 2026 << "31/12/30848" << "" << 30848;
    QTest::newRow("30849") << 2026 << "1/1/30849" << "Invalid year" << 30849;
    QTest::newRow("negative year") << 2026 << "1/1/-5" << "Invalid year" << -5;
    QTest::newRow("huge year") << 2026 << "1/1/99999999999" << "Invalid year" << INT_MAX;
    QTest::newRow("two numbers") << 2026 << "5/2009" << "Invalid date" << -1;
    QTest::newRow("offset overflows") << 2026 << "%%today+99999999999999999999" << "Invalid date" << -1;
    QTest::newRow("offset past the last tick") << 2026 << "%%today+21350399" << "Invalid date" << -1;
    QTest::newRow("offset before 1601") << 2026 << "%%today-160000" << "Invalid date" << -1;
    QTest::newRow("offset to far year") << 2026 << "%%today+10000000" << "" << 29405;
    QTest::newRow("offset past 30848") << 2026 << "%%today+11000000" << "Invalid year" << 32143;
}

void TestDateValue::validate()
{
    QFETCH(int, nowYear);
    QFETCH(QString, text);
    QFETCH(QString, message);
    FixedClock clock(QDateTime(QDate(nowYear, 6, 15), QTime(12, 0), Qt::UTC));
    ScopedClock installClock(clock);
    ScriptedModalUi ui;
    ScopedModalUi installUi(ui);
    DateFields fields;
    QCOMPARE(ValidateDate(fields, text, QStringLiteral("a.mbs [Action1] Min Date Filter")), message.isEmpty());
    QTEST(fields.year, "year");
    const QStringList expected = message.isEmpty() ? QStringList()
                                                   : QStringList{message + "\na.mbs [Action1] Min Date Filter"};
    QCOMPARE(ui.messages, expected);
    if (!message.isEmpty()) {
        QVERIFY(!ValidateDate(fields, text));
        QCOMPARE(ui.messages.last(), message);
    }
}

void TestDateValue::fileTime_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<bool>("fromLocal");
    QTest::addColumn<QString>("date");  // d/M/yyyy
    QTest::addColumn<quint64>("fileTime");
    const QByteArray cet = kCet;
    QTest::newRow("first day") << cet << false << "1/1/1601" << Q_UINT64_C(0);
    QTest::newRow("Unix epoch") << cet << false << "1/1/1970" << Q_UINT64_C(116444736000000000);
    QTest::newRow("last below 2^63") << cet << false << "14/9/30828" << Q_UINT64_C(9223371936000000000);
    QTest::newRow("first above 2^63") << cet << false << "15/9/30828" << Q_UINT64_C(9223372800000000000);
    QTest::newRow("last day") << cet << false << "31/12/30848" << Q_UINT64_C(9229776768000000000);
    QTest::newRow("not a date") << cet << false << "30/2/2009" << Q_UINT64_C(0);
    QTest::newRow("unset") << cet << true << "-1/-1/-1" << Q_UINT64_C(0);
    QTest::newRow("winter") << cet << true << "5/1/2009" << Q_UINT64_C(128755836000000000);
    QTest::newRow("summer") << cet << true << "1/7/2009" << Q_UINT64_C(128908728000000000);
    QTest::newRow("day summer time starts") << cet << true << "29/3/2009" << Q_UINT64_C(128827548000000000);
    QTest::newRow("day summer time ends") << cet << true << "25/10/2009" << Q_UINT64_C(129008952000000000);
    QTest::newRow("last day east") << cet << true << "31/12/30848" << Q_UINT64_C(9229776732000000000);
    QTest::newRow("last day west") << QByteArray("EST5EDT,M3.2.0,M11.1.0") << true << "31/12/30848"
                                   << Q_UINT64_C(9229776948000000000);
    QTest::newRow("first day east held") << cet << true << "1/1/1601" << Q_UINT64_C(1);
}

void TestDateValue::fileTime()
{
    QFETCH(QByteArray, tz);
    QFETCH(bool, fromLocal);
    QFETCH(QString, date);
    const QStringList parts = date.split(QLatin1Char('/'));
    SetZone(tz);
    QTEST(DateToFileTime(DateFields{parts[0].toInt(), parts[1].toInt(), parts[2].toInt()}, fromLocal), "fileTime");
}

QTEST_GUILESS_MAIN(TestDateValue)
#include "tst_datevalue.moc"
