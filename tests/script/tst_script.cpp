#include "ScriptDescription.h"
#include "TestFiles.h"
#include "TestLocale.h"
#include "framework/Clock.h"
#include "framework/ScriptedModalUi.h"
#include "script/ActionSink.h"
#include "script/DateValue.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/TextEscapes.h"
#include "script/WideNumbers.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <ctime>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Keeps the names of the actions a streamed load hands over.
struct NameCollector : IActionSink
{
    void DefaultLoaded(const CSynchArray &) override {}
    void ActionLoaded(const QString &name, const CSynchSettings &) override { names << name; }
    QStringList names;
};

// Gives `field` of `record` another value, touching the high bits of the
// 64-bit fields so that a comparison of their low halves would miss it.
void Change(const SettingField &field, CSynchSettings &record)
{
    if (field.text)
        record.*field.text += QLatin1Char('x');
    else if (field.int32)
        record.*field.int32 += 1;
    else if (field.mask)
        record.*field.mask ^= 0x100;
    else if (field.int64)
        record.*field.int64 += qint64(1) << 40;
    else
        record.*field.date += quint64(1) << 63;
}

// "Min Date Filter=<FILETIME of the UTC hour>"
QString DateCheck(const char *key, int y, int m, int d, int h)
{
    const QDateTime utc(QDate(y, m, d), QTime(h, 0), Qt::UTC);
    return QStringLiteral("Action1.%1=%2")
        .arg(QLatin1String(key))
        .arg(quint64(utc.toMSecsSinceEpoch()) * 10000 + 116444736000000000ULL);
}

} // namespace

// The script core: the reader and its helpers, the record's fields, dates
// and the loader. Dates are read in en_GB and Paris time.
class TestScript : public QObject
{
    Q_OBJECT
    TemporaryFolder m_files;
    ScriptedModalUi m_ui; // what the user would be told
    ScopedModalUi m_installed{m_ui};

private slots:
    void init()
    {
        m_ui.messages.clear();
        UseBritishDates(kCentralEurope);
        QCOMPARE(GetShortDateFormat(), QStringLiteral("dd/MM/yyyy"));
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("expected"); // empty: only read alike from a file, a pipe and memory
        QTest::addColumn<int>("chunk");        // what each write into the pipe holds

        const int ansi = int(ScriptEncoding::Ansi);
        const int utf16 = int(ScriptEncoding::Utf16Le);
        const int utf8 = int(ScriptEncoding::Utf8);
        QTest::newRow("line ends: crlf, lone cr kept, cr cr lf, lf, none at the end")
            << QByteArray("[A]\r\nK=a\rb\r\nL=v\r\r\nM=*.*\nP=x") << ansi << "[A]| K=a\\rb| L=v\\r| M=*.*| P=x" << 1;
        QTest::newRow("headers: rest after ], blanks, first ] closes, empty name")
            << QByteArray("[Action1] trailing\r\n[ Action1 ]\r\n[a]b]\n[]\nK=v\n") << ansi
            << "[Action1]+ trailing|[ Action1 ]|[a]+b]|[]| K=v" << 1;
        QTest::newRow("header without ] is kept loose") << QByteArray("[A]\r\nK=1\r\n[Action2\r\n[K=v\nL=2\r\n") << ansi
                                                        << "[A]| K=1| ~[Action2@1| ~[K=v@1| L=2" << 1;
        QTest::newRow("preamble") << QByteArray("note\r\nKey=before\r\n\r\n[S]\r\n") << ansi
                                  << "pre:note|pre:Key=before|[S]" << 1;
        QTest::newRow("loose lines in order, empty lines dropped")
            << QByteArray("[S]\r\n; comment\r\n\r\nA=1\r\n   \r\nword\r\nB=2\r\n;end\r\n") << ansi
            << "[S]| ~; comment@0| A=1| ~   @1| ~word@1| B=2| ~;end@2" << 1;
        QTest::newRow("no trimming, first = splits, repeats kept")
            << QByteArray("[S]\nKey = Value\nK==x\n;K=v\nM=1\nM=2\n[s]\nM=3\n") << ansi
            << "[S]| Key = Value| K==x| ;K=v| M=1| M=2|[s]| M=3" << 1;
        QTest::newRow("ansi decoded") << QByteArray("[S]\nP=C:\\Donn\xe9"
                                                    "es\\\x80\x81\n")
                                      << ansi << QString::fromUtf8("[S]| P=C:\\Données\\€\u0081") << 1;
        QTest::newRow("at lines") << QByteArray("[D]\n@=abc\n@x=1\nA=@=\n") << ansi << "[D]| @=abc| @x=1| A=@=| @@=abc"
                                  << 1;
        QTest::newRow("utf-16 bom skipped") << Utf16WithBom(QString::fromUtf8("[Default]\r\nPath1=C:\\Ünï\r\n"))
                                            << utf16 << QString::fromUtf8("[Default]| Path1=C:\\Ünï") << 1;
        QTest::newRow("utf-16 long lines, and ] = after a line feed")
            << Utf16WithBom(QStringLiteral(
                   "[A long section name] and rest\r\n[Header without close bracket and = sign\r\n"
                   "A key of some length=value\r\nno equals sign in this long line\r\n[S]\r\nab\r\n]=v\r\n[Ab\r\n]=w"))
            << utf16
            << "[A long section name]+ and rest| ~[Header without close bracket and = sign@0| A key of some "
               "length=value|"
               " ~no equals sign in this long line@1|[S]| ~ab@0| ]=v| ~[Ab@1| ]=w"
            << 3;
        QTest::newRow("utf-16 odd byte ignored")
            << Utf16WithBom(QStringLiteral("[S]\nK=v")) + QByteArray("\x41", 1) << utf16 << "[S]| K=v" << 1;
        QTest::newRow("utf-8 signature") << QByteArray("\xEF\xBB\xBF[Default]\r\nMask=\xC3\xA9*.txt\r\n") << utf8
                                         << QString::fromUtf8("[Default]| Mask=é*.txt") << 1;

        // Lines of every kind, CR LF ends, bytes from 0x80 up, about 40 bytes a line.
        QByteArray many;
        for (int i = 0; many.size() < 700 * 1024; ++i)
            many += QStringLiteral("[Action%1] r\r\nPath1=C:\\Donn\u00e9es\\%1\r\n; note\r\n@=x\r\nMask=*.%1\r\n")
                        .arg(i)
                        .toLatin1();
        QTest::newRow("ansi over several pieces") << many << ansi << "" << 4093;
        QTest::newRow("ansi without a last line feed") << many + "[Z]\r\nK=v" << ansi << "" << 65536;
        QTest::newRow("a line longer than a piece")
            << "[S]\r\nK=" + QByteArray(600 * 1024, 'x') + "\r\nL=1" << ansi << "" << 100000;
        QTest::newRow("utf-16 over several pieces, odd last byte")
            << Utf16WithBom(QString::fromLatin1(many)) + "A" << utf16 << "" << 4093;
        QTest::newRow("utf-8 over several pieces")
            << "\xEF\xBB\xBF" + QString::fromLatin1(many).toUtf8() << utf8 << "" << 4093;
        QTest::newRow("utf-16 mark alone") << QByteArray("\xFF\xFE") << utf16 << "" << 1;
        QTest::newRow("one byte") << QByteArray("x") << ansi << "pre:x" << 1;
        QTest::newRow("part of a utf-8 mark is text")
            << QByteArray("\xEF\xBB") << ansi << QString::fromUtf8("pre:ï»") << 1;
    }

    // A regular file, and a pipe whose pieces come as the writer sends them,
    // read alike to the same bytes held whole.
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QFETCH(int, chunk);
        CScriptFile whole;
        whole.m_bKeepAtLines = 1;
        QVERIFY(whole.ReadBytes(bytes, QString()));
        if (!expected.isEmpty())
            QCOMPARE(Describe(whole), expected);
        QTEST(int(whole.Encoding()), "encoding");

        CScriptFile fromFile;
        fromFile.m_bKeepAtLines = 1;
        QVERIFY(
            fromFile.Read(m_files.Write(Utf16WithBom(QStringLiteral("[Old]\nK=1\n"))))); // a second read starts afresh
        QVERIFY(fromFile.Read(m_files.Write(bytes)));
        QCOMPARE(fromFile.LastReadStatus(), ScriptReadStatus::Read);

        const QString pipe = m_files.filePath(QStringLiteral("pipe%1").arg(QTest::currentDataTag()).remove(u' '));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        std::thread writer([&] {
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY);
            for (qsizetype at = 0; fd >= 0 && at < bytes.size(); at += chunk)
                if (::write(fd, bytes.constData() + at, size_t(qMin<qsizetype>(chunk, bytes.size() - at))) < 0)
                    break;
            ::close(fd);
        });
        CScriptFile fromPipe;
        fromPipe.m_bKeepAtLines = 1;
        const bool read = fromPipe.Read(pipe);
        writer.join();
        QVERIFY(read);

        for (const CScriptFile *file : {&fromFile, &fromPipe}) {
            QCOMPARE(Describe(*file), Describe(whole));
            QCOMPARE(file->Text(), whole.Text());
            QCOMPARE(file->Encoding(), whole.Encoding());
            for (qsizetype i = 0; i < whole.GetCount(); ++i)
                QCOMPARE(file->GetSection(i)->HeaderOffset(), whole.GetSection(i)->HeaderOffset());
        }
        QVERIFY(m_ui.messages.isEmpty());
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lineIndex");

        QTest::newRow("case ignored") << "DEFAULT"
                                      << "PATH1" << true << "C:\\a" << 0;
        QTest::newRow("value keeps =") << "Default"
                                       << "Key" << true << "=x" << 1;
        QTest::newRow("blank before = does not match") << "Default"
                                                       << "Spaced" << false << "unchanged" << -1;
        QTest::newRow("first line wins") << "Default"
                                         << "Mask" << true << "*.a" << 4;
        QTest::newRow("missing section") << "Action9"
                                         << "Mask" << false << "unchanged" << -1;
        QTest::newRow("a repeated section is never looked at") << "Default"
                                                               << "Only" << false << "unchanged" << -1;
        QTest::newRow("blanks in name are part of it") << " Action1 "
                                                       << "K" << true << "1" << 0;
        QTest::newRow("non-ascii name") << QString::fromUtf8("ÉTÉ") << "k" << true << "2" << 0;
    }

    void lookups()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        CScriptFile file;
        QVERIFY(file.Read(
            m_files.Write(QString::fromUtf8("[Default]\nPath1=C:\\a\nKey==x\nEmpty=\nSpaced =1\nMask=*.a\nMask=*.b\n"
                                            "[Default]\nOnly=here\n[ Action1 ]\nK=1\n[été]\nk=2\n")
                              .toLatin1())));
        QString value = QStringLiteral("unchanged");
        QTEST(file.GetString(section, key, value), "found");
        QTEST(value, "text");
        const CSection *s = file.FindSection(section);
        QTEST(int(s ? s->FindLine(key) : -1), "lineIndex");
    }

    void unreadableOrEmpty_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("messageParts"); // all in the one message; empty: no message
        const int failed = int(ScriptReadStatus::Failed);
        const QString folder = m_files.filePath(QString());
        const QString huge = m_files.Write("[S]\nK=v\n", QStringLiteral("huge.mbs")); // made sparse 2 GiB below
        QTest::newRow("missing") << m_files.filePath(QStringLiteral("gone.mbs")) << failed << QStringList{"gone.mbs"};
        QTest::newRow("directory") << folder << failed << QStringList{QDir::toNativeSeparators(folder)};
        QTest::newRow("2 GiB") << huge << failed << QStringList{QDir::toNativeSeparators(huge), "2 GiB"};
        QTest::newRow("empty file is silent")
            << m_files.Write(QByteArray()) << int(ScriptReadStatus::Empty) << QStringList{};
    }

    void unreadableOrEmpty()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, messageParts);
        if (path.endsWith(QLatin1String("huge.mbs")) && !QFile(path).resize(qint64(1) << 31))
            QSKIP("This file system cannot make a sparse 2 GiB file");
        CScriptFile file;
        QVERIFY(file.Read(m_files.Write("[Old]\nK=v\n")));
        QVERIFY(!file.Read(path));
        QCOMPARE(file.GetCount(), 0);
        QCOMPARE(file.m_strPath, path);
        QTEST(int(file.LastReadStatus()), "status");
        QVERIFY2(OneLineHolding(m_ui.messages, messageParts), qPrintable(m_ui.messages.join(u'\n')));
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("int32");
        QTest::addColumn<qint64>("int64");

        QTest::newRow("blanks and sign") << " \t+17x" << 17 << qint64(17);
        QTest::newRow("blank after sign stops") << "- 5" << 0 << qint64(0);
        QTest::newRow("32-bit saturates down") << "-2147483649" << INT_MIN << qint64(-2147483649LL);
        QTest::newRow("64-bit limit") << "-9223372036854775808" << INT_MIN << std::numeric_limits<qint64>::min();
        QTest::newRow("fullwidth digit is not a digit") << QString::fromUtf8("１") << 0 << qint64(0);
        QTest::newRow("no-break space is not a blank") << QString::fromUtf8("\u00a012") << 0 << qint64(0);
    }

    void numbers()
    {
        QFETCH(QString, text);
        QTEST(WideToInt32(text), "int32");
        QTEST(WideToInt64(text), "int64");
    }

    void textEdits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find"); // empty: UnescapeControls instead of ReplaceAll
        QTest::addColumn<QString>("replace");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("count");

        QTest::newRow("replacement not searched again") << "aa"
                                                        << "a"
                                                        << "aa" << true << "aaaa" << 2;
        QTest::newRow("left to right, no overlap") << "aaa"
                                                   << "aa"
                                                   << "b" << true << "ba" << 1;
        QTest::newRow("case kept outside matches") << "AbXaBx"
                                                   << "ab"
                                                   << "-" << false << "-X-x" << 2;
        QTest::newRow("case sensitive") << "AbXaBx"
                                        << "ab"
                                        << "-" << true << "AbXaBx" << 0;
        QTest::newRow("unescape upper case too") << "\\T\\N\\R\\r"
                                                 << ""
                                                 << "" << true << "\t\n\r\r" << 2;
        QTest::newRow("unescape double backslash") << "\\\\t"
                                                   << ""
                                                   << "" << true << "\\\t" << 0;
        QTest::newRow("unescape: other escapes stay") << "\\x\\\\"
                                                      << ""
                                                      << "" << true << "\\x\\\\" << 0;
    }

    void textEdits()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replace);
        QFETCH(bool, caseSensitive);
        QTEST(find.isEmpty() ? UnescapeControls(text) : ReplaceAll(text, find, replace, caseSensitive), "count");
        QTEST(text, "result");
        if (find.isEmpty()) { // resolving twice changes nothing
            const QString once = text;
            UnescapeControls(text);
            QCOMPARE(text, once);
        }
    }

    void everyField_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kSettingFieldCount; ++i)
            QTest::newRow(qPrintable(SettingFields()[size_t(i)].Key())) << i;
    }

    void everyField()
    {
        QFETCH(int, index);
        const SettingField &changed = SettingFields()[size_t(index)];
        const CSynchSettings fresh;
        // A change to this one field alone must be seen by IsEqual and carried by
        // operator=; the "@=" lines are neither compared nor copied.
        CSynchSettings other;
        Change(changed, other);
        other.m_arrAtLines = QStringList{QStringLiteral("@=b")};
        QVERIFY(!fresh.IsEqual(other));
        for (const SettingField &field : SettingFields()) // one member per key
            QCOMPARE(field.Equal(fresh, other), &field != &changed);
        CSynchSettings copy;
        copy = other;
        QVERIFY(copy.IsEqual(other));
        QVERIFY(copy.m_arrAtLines.isEmpty());
        QVERIFY(CSynchSettings(other).IsEqual(other));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("fields"); // day/month/year as parsed, -1 where not reached
        const QString gb = QStringLiteral("en_GB");
        QTest::newRow("numbers") << gb << "d/M/yyyy"
                                 << "5/1/2009" << true << "5/1/2009";
        QTest::newRow("default picture") << gb << ""
                                         << "05/01/2009" << true << "5/1/2009";
        QTest::newRow("space and sign, text left over") << gb << "d/M/yyyy"
                                                        << " 5/+1/2009 x" << true << "5/1/2009";
        QTest::newRow("no digits count as 0") << gb << "d/M/yyyy"
                                              << "/1/2009" << true << "0/1/2009";
        QTest::newRow("text ends early") << gb << "d/M/yyyy"
                                         << "5/1/" << false << "5/1/-1";
        QTest::newRow("wrong separator") << gb << "d/M/yyyy"
                                         << "5-1-2009" << false << "5/-1/-1";
        QTest::newRow("other digits") << gb << "d/M/yyyy" << QString::fromUtf8("٥/١/٢٠٠٩") << true << "5/1/2009";
        QTest::newRow("other white space")
            << gb << "d/M/yyyy" << QString::fromUtf8("\u00a05/\u20031/2009") << true << "5/1/2009";
        QTest::newRow("short month any case") << gb << "d MMM yyyy"
                                              << "5 jAN 2009" << true << "5/1/2009";
        QTest::newRow("unknown month") << gb << "d MMM yyyy"
                                       << "5 Foo 2009" << false << "5/-1/-1";
        QTest::newRow("day name not kept") << gb << "dddd, d MMMM yyyy"
                                           << "Friday, 5 June 2009" << true << "5/6/2009";
        QTest::newRow("unknown day name") << gb << "ddd d/M/yyyy"
                                          << "Xyz 5/1/2009" << false << "-1/-1/-1";
        QTest::newRow("quoted literal") << gb << "'d' d/M/yyyy"
                                        << "d 5/1/2009" << true << "5/1/2009";
        QTest::newRow("German month") << "de_DE"
                                      << "d. MMMM yyyy" << QString::fromUtf8("5. märz 2009") << true << "5/3/2009";
        // The clock says 30 June 22:30 UTC, already 1 July in summer-time Paris.
        QTest::newRow("today is the local day") << gb << ""
                                                << "%%today" << true << "1/7/2026";
        QTest::newRow("today, any case, space, offset") << gb << ""
                                                        << "%%TODAY -1" << true << "30/6/2026";
        QTest::newRow("today, two-digit picture") << gb << "d/M/yy"
                                                  << "%%today+1" << true << "2/7/26";
    }

    void parse()
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

    void validate_data()
    {
        QTest::addColumn<int>("nowYear");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("year");
        QTest::newRow("31 April") << 2026 << "31/4/2009"
                                  << "Invalid day" << 2009;
        QTest::newRow("29 Feb 2000") << 2026 << "29/2/2000"
                                     << "" << 2000;
        QTest::newRow("29 Feb 1900") << 2026 << "29/2/1900"
                                     << "Invalid day" << 1900;
        QTest::newRow("month before day") << 2026 << "13/13/2009"
                                          << "Invalid month" << 2009;
        QTest::newRow("80 is past") << 2026 << "1/1/80"
                                    << "" << 1980;
        QTest::newRow("77 is ahead") << 2026 << "1/1/77"
                                     << "" << 2077;
        QTest::newRow("47 in 2099") << 2099 << "1/1/47"
                                    << "" << 2147;
        QTest::newRow("1600") << 2026 << "1/1/1600"
                              << "Invalid year" << 1600;
        QTest::newRow("30848") << 2026 << "31/12/30848"
                               << "" << 30848;
        QTest::newRow("30849") << 2026 << "1/1/30849"
                               << "Invalid year" << 30849;
        QTest::newRow("huge year") << 2026 << "1/1/99999999999"
                                   << "Invalid year" << INT_MAX;
        QTest::newRow("two numbers") << 2026 << "5/2009"
                                     << "Invalid date" << -1;
        QTest::newRow("offset overflows") << 2026 << "%%today+99999999999999999999"
                                          << "Invalid date" << -1;
        QTest::newRow("offset past the last tick") << 2026 << "%%today+21350399"
                                                   << "Invalid date" << -1;
        QTest::newRow("offset before 1601") << 2026 << "%%today-160000"
                                            << "Invalid date" << -1;
        QTest::newRow("offset to far year") << 2026 << "%%today+10000000"
                                            << "" << 29405;
        QTest::newRow("offset past 30848") << 2026 << "%%today+11000000"
                                           << "Invalid year" << 32143;
    }

    void validate()
    {
        QFETCH(int, nowYear);
        QFETCH(QString, text);
        QFETCH(QString, message);
        FixedClock clock(QDateTime(QDate(nowYear, 6, 15), QTime(12, 0), Qt::UTC));
        ScopedClock installClock(clock);
        DateFields fields;
        QCOMPARE(ValidateDate(fields, text, QStringLiteral("a.mbs [Action1] Min Date Filter")), message.isEmpty());
        QTEST(fields.year, "year");
        const QStringList expected =
            message.isEmpty() ? QStringList() : QStringList{message + "\na.mbs [Action1] Min Date Filter"};
        QCOMPARE(m_ui.messages, expected);
    }

    void fileTime_data()
    {
        QTest::addColumn<QByteArray>("tz");
        QTest::addColumn<bool>("fromLocal");
        QTest::addColumn<QString>("date"); // d/M/yyyy
        QTest::addColumn<quint64>("fileTime");
        const QByteArray cet = kCentralEurope;
        QTest::newRow("first day") << cet << false << "1/1/1601" << Q_UINT64_C(0);
        QTest::newRow("first above 2^63") << cet << false << "15/9/30828" << Q_UINT64_C(9223372800000000000);
        QTest::newRow("last day") << cet << false << "31/12/30848" << Q_UINT64_C(9229776768000000000);
        QTest::newRow("not a date") << cet << false << "30/2/2009" << Q_UINT64_C(0);
        QTest::newRow("unset") << cet << true << "-1/-1/-1" << Q_UINT64_C(0);
        QTest::newRow("day summer time starts") << cet << true << "29/3/2009" << Q_UINT64_C(128827548000000000);
        QTest::newRow("last day east") << cet << true << "31/12/30848" << Q_UINT64_C(9229776732000000000);
        QTest::newRow("last day west") << QByteArray("EST5EDT,M3.2.0,M11.1.0") << true << "31/12/30848"
                                       << Q_UINT64_C(9229776948000000000);
        QTest::newRow("first day east held") << cet << true << "1/1/1601" << Q_UINT64_C(1);
    }

    void fileTime()
    {
        QFETCH(QByteArray, tz);
        QFETCH(bool, fromLocal);
        QFETCH(QString, date);
        const QStringList parts = date.split(QLatin1Char('/'));
        qputenv("TZ", tz);
        tzset();
        QTEST(DateToFileTime(DateFields{parts[0].toInt(), parts[1].toInt(), parts[2].toInt()}, fromLocal), "fileTime");
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("names");
        // "Section.Key=value": the value a record holds after the load;
        // "Default." checks the record read from the Default section.
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QStringList>("messageParts"); // all in the one message; empty: no message

        const QStringList none;
        QTest::newRow("ascending, not file order, case of the name ignored")
            << QByteArray("[Default]\r\n[action3]\r\nMask=3\r\n[Action1]\r\nMask=1\r\n")
            << QStringList{"Action1", "Action3"} << QStringList{"Action1.Mask=1", "Action3.Mask=3"} << none;
        QTest::newRow("odd names, leading zero")
            << QByteArray("[Action01]\n[Action0]\n[Action-1]\n[Action+1]\n[Action 1]\n[Actions]\n[Action1x]\n[Action]\n"
                          "[Action2147483648]\n[ Action1]\n")
            << QStringList{} << QStringList{} << none;
        QTest::newRow("gaps skipped up to the largest number")
            << QByteArray("[Action2147483647]\nMask=b\n[Action1]\nMask=a\n")
            << QStringList{"Action1", "Action2147483647"} << QStringList{"Action2147483647.Mask=b"} << none;
        QTest::newRow("inheritance, empty values")
            << QByteArray("[Default]\nMask=*.doc\nOperation=3\nPath1=C:\\d\nTime Check Precision=9\n[Action1]\n"
                          "Operation=-1\nPath1=\nTime Check Precision=\n[Action2]\nMask=\n")
            << QStringList{"Action1", "Action2"}
            << QStringList{"Default.Mask=*.doc",
                           "Action1.Mask=*.doc",
                           "Action1.Operation=-1",
                           "Action1.Path1=",
                           "Action1.Time Check Precision=0",
                           "Action2.Operation=3",
                           "Action2.Path1=C:\\d",
                           "Action2.Mask=",
                           "Action2.Confirm Updates=1"}
            << none;
        QTest::newRow("no Default: built-in defaults")
            << QByteArray("[Action1]\nPath2=x\n") << QStringList{"Action1"}
            << QStringList{"Default.Mask=*.*", "Action1.Mask=*.*", "Action1.Ignore Attributes=55",
                           "Action1.Time Check Precision=3"}
            << none;
        QTest::newRow("a repeated section is not loaded again")
            << QByteArray("[Action1]\nPath2=first\n[ACTION1]\nMask=dead\n") << QStringList{"Action1"}
            << QStringList{"Action1.Mask=*.*", "Action1.Path2=first"} << none;
        QTest::newRow("empty file: nothing left of the earlier load")
            << QByteArray() << QStringList{} << QStringList{"Default.Mask=*.*", "Default.@="} << none;
        QTest::newRow("numbers as the runtime reads them, 64-bit sizes")
            << QByteArray("[Action1]\nSkip Files Mask=-1\nOperation=99999999999\nMin Size Filter=12345678901234\n"
                          "Max Size Filter=99999999999999999999\n")
            << QStringList{"Action1"}
            << QStringList{"Action1.Skip Files Mask=4294967295", "Action1.Operation=2147483647",
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
            << QByteArray(
                   "[Default]\nOutput Footer=F\\tG\n[Action1]\nOutput Header=a\\tb\\r\\nc\nDisplay Columns=\\t\n")
            << QStringList{"Action1"}
            << QStringList{"Action1.Output Header=a\tb\r\nc", "Action1.Output Footer=F\tG",
                           "Action1.Display Columns=\\t"}
            << none;
        QTest::newRow("@= lines") << QByteArray("[Default]\n@=d1\n@=d2\n[Action1]\n@=a\n@x=no\n[Action2]\n")
                                  << QStringList{"Action1", "Action2"}
                                  << QStringList{"Default.@=@=d1;@=d2", "Action1.@=@=a", "Action2.@="} << none;
        // The clock says 10 March 2021; dates are local midnights in Paris.
        QTest::newRow("dates from local time, today with an offset")
            << QByteArray("[Action1]\nMin Date Filter=15/06/2021\nMax Date Filter=%%today-1\n")
            << QStringList{"Action1"}
            << QStringList{DateCheck("Min Date Filter", 2021, 6, 14, 22), DateCheck("Max Date Filter", 2021, 3, 8, 23)}
            << none;
        QTest::newRow("empty or invalid date keeps the inherited one, one message")
            << QByteArray("[Default]\nMin Date Filter=15/06/2021\nMax Date Filter=01/01/2021\n"
                          "[Action1]\nMin Date Filter=31/02/2021\nMax Date Filter=\n")
            << QStringList{"Action1"}
            << QStringList{DateCheck("Min Date Filter", 2021, 6, 14, 22),
                           DateCheck("Max Date Filter", 2020, 12, 31, 23)}
            << QStringList{"Invalid", "Action1", "Min Date Filter", "31/02/2021"};
    }

    void load()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, names);
        QFETCH(QStringList, checks);
        QFETCH(QStringList, messageParts);
        FixedClock clock(QDateTime(QDate(2021, 3, 10), QTime(12, 0), Qt::UTC));
        ScopedClock clockScope(clock);
        CSynchArray document; // a load replaces everything an earlier one left
        QCOMPARE(document.LoadScript(m_files.Write("[Default]\n@=old\nMask=old\n[Action1]\n[Action9]\n")), 2);
        const QString path = m_files.Write(script);
        QCOMPARE(document.LoadScript(path), int(names.size()));
        QCOMPARE(document.m_arrActionNames, names);
        QCOMPARE(document.m_Default.m_arrAtLines, document.m_arrDefaultAtLines);
        for (const QString &check : checks) {
            const QString name = check.section(u'.', 0, 0);
            const QString key = check.mid(name.size() + 1).section(u'=', 0, 0);
            const qsizetype index = document.m_arrActionNames.indexOf(name);
            const CSynchSettings *record = index >= 0 ? document.GetAt(index) : &document.m_Default;
            const auto field =
                std::find_if(SettingFields().begin(), SettingFields().end(), [&](auto &f) { return f.Key() == key; });
            const bool at = field == SettingFields().end();
            QVERIFY2((name == u"Default" || index >= 0) && (!at || key == u"@"), qPrintable(check));
            QCOMPARE(name + u'.' + key + u'=' + (at ? record->m_arrAtLines.join(u';') : field->ValueText(*record)),
                     check);
        }
        QVERIFY2(OneLineHolding(m_ui.messages,
                                messageParts.isEmpty() ? messageParts : messageParts << QFileInfo(path).fileName()),
                 qPrintable(m_ui.messages.join(u'\n')));

        // The loads after a save or for a change check are quiet.
        LoadOptions quiet;
        quiet.reportInvalidDates = false;
        m_ui.messages.clear();
        QCOMPARE(document.LoadScript(path, nullptr, quiet), int(names.size()));
        QVERIFY(m_ui.messages.isEmpty());

        // Streamed, the same actions in order, none kept (tst_mbscript compares what dump prints).
        NameCollector sink;
        CSynchArray streamed;
        QCOMPARE(streamed.StreamScript(path, sink), int(names.size()));
        QCOMPARE(streamed.GetSize(), 0);
        QCOMPARE(sink.names, names);
    }
};

QTEST_GUILESS_MAIN(TestScript)
#include "tst_script.moc"
