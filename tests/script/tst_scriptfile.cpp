#include "ScriptFixture.h"
#include "framework/ScriptedModalUi.h"
#include "script/ScriptFile.h"
#include "script/TextEscapes.h"
#include "script/WideNumbers.h"

#include <QTest>

namespace {

// One line per item: "pre:" preamble lines, "[name]" headers (with "+rest"
// when text followed the ']'), " line" stored lines, " ~text@n" loose lines
// (n: the stored lines before it) and " @line" kept "@=" lines. Control
// characters show as \r and \t.
QString Describe(const CScriptFile &file)
{
    auto shown = [](QStringView text) {
        return text.toString().replace(u'\r', QStringLiteral("\\r")).replace(u'\t', QStringLiteral("\\t"));
    };
    QStringList out;
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i)
        out << QStringLiteral("pre:") + shown(file.GetPreambleLine(i));
    for (const auto &section : file.Sections()) {
        out << QLatin1Char('[') + shown(section->m_strName) + QLatin1Char(']')
                + (section->m_strHeaderRest.isEmpty() ? QString() : QLatin1Char('+') + section->m_strHeaderRest);
        qsizetype loose = 0;
        for (qsizetype i = 0; i <= section->GetCount(); ++i) {
            for (; loose < section->GetLooseCount() && section->GetLooseLine(loose).nBefore == i; ++loose)
                out << QStringLiteral(" ~%1@%2").arg(shown(section->GetLooseLine(loose).text)).arg(i);
            if (i < section->GetCount())
                out << QLatin1Char(' ') + shown(section->GetLine(i));
        }
        for (const QString &at : section->m_arrAtLines)
            out << QStringLiteral(" @") + at;
    }
    return out.join(QLatin1Char('|'));
}

} // namespace

class TestScriptFile : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void lookups_data();
    void lookups();
    void unreadableOrEmpty_data();
    void unreadableOrEmpty();
    void numbers_data();
    void numbers();
    void replaceAll_data();
    void replaceAll();
    void unescape_data();
    void unescape();

private:
    ScriptFixture m_files;
};

void TestScriptFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("expected");

    const int ansi = int(ScriptEncoding::Ansi);
    const int utf16 = int(ScriptEncoding::Utf16Le);
    QTest::newRow("line ends: crlf, lone cr kept, cr cr lf, lf, none at the end")
        << QByteArray("[A]\r\nK=a\rb\r\nL=v\r\r\nM=*.*\nP=x") << ansi << "[A]| K=a\\rb| L=v\\r| M=*.*| P=x";
    QTest::newRow("headers: rest after ], blanks, first ] closes, empty name")
        << QByteArray("[Action1] trailing\r\n[ Action1 ]\r\n[a]b]\n[]\nK=v\n") << ansi
        << "[Action1]+ trailing|[ Action1 ]|[a]+b]|[]| K=v";
    QTest::newRow("header without ] is kept loose")
        << QByteArray("[A]\r\nK=1\r\n[Action2\r\n[K=v\nL=2\r\n") << ansi << "[A]| K=1| ~[Action2@1| ~[K=v@1| L=2";
    QTest::newRow("preamble") << QByteArray("note\r\nKey=before\r\n\r\n[S]\r\n") << ansi
                              << "pre:note|pre:Key=before|[S]";
    QTest::newRow("loose lines in order, empty lines dropped")
        << QByteArray("[S]\r\n; comment\r\n\r\nA=1\r\n   \r\nword\r\nB=2\r\n;end\r\n") << ansi
        << "[S]| ~; comment@0| A=1| ~   @1| ~word@1| B=2| ~;end@2";
    QTest::newRow("no trimming, first = splits, repeats kept")
        << QByteArray("[S]\nKey = Value\nK==x\n;K=v\nM=1\nM=2\n[s]\nM=3\n") << ansi
        << "[S]| Key = Value| K==x| ;K=v| M=1| M=2|[s]| M=3";
    QTest::newRow("ansi decoded") << QByteArray("[S]\nP=C:\\Donn\xe9" "es\\\x80\x81\n") << ansi
                                  << QString::fromUtf8("[S]| P=C:\\Données\\€\u0081");
    QTest::newRow("at lines") << QByteArray("[D]\n@=abc\n@x=1\nA=@=\n") << ansi << "[D]| @=abc| @x=1| A=@=| @@=abc";
    QTest::newRow("utf-16 bom skipped") << Utf16WithBom(QString::fromUtf8("[Default]\r\nPath1=C:\\Ünï\r\n"))
                                        << utf16 << QString::fromUtf8("[Default]| Path1=C:\\Ünï");
    QTest::newRow("utf-16 odd byte ignored")
        << Utf16WithBom(QStringLiteral("[S]\nK=v")) + QByteArray("\x41", 1) << utf16 << "[S]| K=v";
    QTest::newRow("utf-16 bom only") << QByteArray("\xFF\xFE", 2) << utf16 << "";
    QTest::newRow("utf-8 signature") << QByteArray("\xEF\xBB\xBF[Default]\r\nMask=\xC3\xA9*.txt\r\n")
                                     << int(ScriptEncoding::Utf8) << QString::fromUtf8("[Default]| Mask=é*.txt");
    QTest::newRow("fe ff is not a mark") << QByteArray("\xFE\xFF[S]\nK=v\n") << ansi
                                         << QString::fromUtf8("pre:þÿ[S]|pre:K=v");
}

void TestScriptFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, expected);
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CScriptFile file;
    file.m_bKeepAtLines = 1;
    QVERIFY(file.Read(m_files.Write(Utf16WithBom(QStringLiteral("[Old]\nK=1\n")))));  // a second read starts afresh
    const QString path = m_files.Write(bytes);
    QVERIFY(file.Read(path));
    QCOMPARE(Describe(file), expected);
    QCOMPARE(int(file.Encoding()), encoding);
    QCOMPARE(file.m_bUnicode, encoding == int(ScriptEncoding::Utf16Le) ? 1 : 0);
    QCOMPARE(file.m_strPath, path);
    QVERIFY(!file.FindSection(u"Old"));
    QCOMPARE(file.LastReadStatus(), ScriptReadStatus::Read);
    QVERIFY(ui.messages.isEmpty());
}

void TestScriptFile::lookups_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lineIndex");
    QTest::addColumn<qint64>("number");

    QTest::newRow("case ignored") << "DEFAULT" << "PATH1" << true << "C:\\a" << 0 << qint64(0);
    QTest::newRow("value keeps =") << "Default" << "Key" << true << "=x" << 1 << qint64(0);
    QTest::newRow("empty value") << "Default" << "Empty" << true << "" << 2 << qint64(0);
    QTest::newRow("blank before = does not match") << "Default" << "Spaced" << false << "unchanged" << -1
                                                    << qint64(-7);
    QTest::newRow("first line wins") << "Default" << "Mask" << true << "*.a" << 4 << qint64(0);
    QTest::newRow("number") << "Default" << "Size" << true << " -12345678901x" << 6 << qint64(-12345678901);
    QTest::newRow("missing section") << "Action9" << "Mask" << false << "unchanged" << -1 << qint64(-7);
    QTest::newRow("blanks in name are part of it") << " Action1 " << "K" << true << "1" << 0 << qint64(1);
    QTest::newRow("non-ascii name") << QString::fromUtf8("ÉTÉ") << "k" << true << "2" << 0 << qint64(2);
}

void TestScriptFile::lookups()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, text);
    QFETCH(int, lineIndex);
    QFETCH(qint64, number);
    CScriptFile file;
    QVERIFY(file.Read(m_files.Write(QString::fromUtf8(
        "[Default]\nPath1=C:\\a\nKey==x\nEmpty=\nSpaced =1\nMask=*.a\nMask=*.b\nSize= -12345678901x\n"
        "[Default]\nOnly=here\n[ Action1 ]\nK=1\n[été]\nk=2\n").toLatin1())));

    QString value = QStringLiteral("unchanged");
    QCOMPARE(file.GetString(section, key, value), found);
    QCOMPARE(value, text);
    const CSection *s = file.FindSection(section);
    QCOMPARE(s ? s->FindLine(key) : -1, qsizetype(lineIndex));

    qint64 n64 = -7;
    QCOMPARE(file.GetInt64(section, key, n64), found);
    QCOMPARE(n64, found ? number : qint64(-7));
    qint32 n32 = -7;
    QCOMPARE(file.GetInt(section, key, n32), found);
    QCOMPARE(n32, found ? qint32(qBound(qint64(INT_MIN), number, qint64(INT_MAX))) : -7);
    QString missing = QStringLiteral("x");
    QVERIFY(!file.GetString(u"Default", u"Only", missing));  // a repeated section is never looked at
}

void TestScriptFile::unreadableOrEmpty_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    const int failed = int(ScriptReadStatus::Failed);
    QTest::newRow("missing") << "missing" << failed;
    QTest::newRow("directory") << "directory" << failed;
    QTest::newRow("2 GiB") << "huge" << failed;
    QTest::newRow("empty file is silent") << "empty" << int(ScriptReadStatus::Empty);
}

void TestScriptFile::unreadableOrEmpty()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QString path = m_files.Path(QStringLiteral("nothing-here.mbs"));
    if (kind == QLatin1String("directory")) {
        path = m_files.Path(QString());
    } else if (kind == QLatin1String("empty")) {
        path = m_files.Write(QByteArray());
    } else if (kind == QLatin1String("huge")) {
        path = m_files.Write("[S]\nK=v\n", QStringLiteral("huge.mbs"));
        if (!QFile(path).resize(qint64(1) << 31))
            QSKIP("This file system cannot make a sparse 2 GiB file");
    }
    ScriptedModalUi ui;
    ScopedModalUi scope(ui);
    CScriptFile file;
    QVERIFY(file.Read(m_files.Write("[Old]\nK=v\n")));
    QVERIFY(!file.Read(path));
    QCOMPARE(file.GetCount(), 0);
    QCOMPARE(file.m_strPath, path);
    QCOMPARE(int(file.LastReadStatus()), status);
    QCOMPARE(ui.messages.size(), kind == QLatin1String("empty") ? 0 : 1);
    if (ui.messages.isEmpty())
        return;
    QVERIFY2(ui.messages.first().contains(QDir::toNativeSeparators(path)), qPrintable(ui.messages.first()));
    QCOMPARE(ui.messages.first().contains(QLatin1String("2 GiB")), kind == QLatin1String("huge"));
}

void TestScriptFile::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("int32");
    QTest::addColumn<qint64>("int64");

    QTest::newRow("blanks and sign") << " \t+17x" << 17 << qint64(17);
    QTest::newRow("negative, leading zeros") << "-007" << -7 << qint64(-7);
    QTest::newRow("no digits") << "yes" << 0 << qint64(0);
    QTest::newRow("empty") << "" << 0 << qint64(0);
    QTest::newRow("blank after sign stops") << "- 5" << 0 << qint64(0);
    QTest::newRow("32-bit saturates up") << "2147483648" << INT_MAX << qint64(2147483648LL);
    QTest::newRow("32-bit saturates down") << "-2147483649" << INT_MIN << qint64(-2147483649LL);
    QTest::newRow("64-bit limit") << "-9223372036854775808" << INT_MIN << std::numeric_limits<qint64>::min();
    QTest::newRow("64-bit saturates") << "99999999999999999999" << INT_MAX << std::numeric_limits<qint64>::max();
    QTest::newRow("fullwidth digit is not a digit") << QString::fromUtf8("１") << 0 << qint64(0);
}

void TestScriptFile::numbers()
{
    QFETCH(QString, text);
    QTEST(WideToInt32(text), "int32");
    QTEST(WideToInt64(text), "int64");
}

void TestScriptFile::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("count");

    QTest::newRow("replacement not searched again") << "aa" << "a" << "aa" << true << "aaaa" << 2;
    QTest::newRow("left to right, no overlap") << "aaa" << "aa" << "b" << true << "ba" << 1;
    QTest::newRow("case kept outside matches") << "AbXaBx" << "ab" << "-" << false << "-X-x" << 2;
    QTest::newRow("case sensitive") << "AbXaBx" << "ab" << "-" << true << "AbXaBx" << 0;
    QTest::newRow("to empty") << "a.b.c" << "." << "" << true << "abc" << 2;
}

void TestScriptFile::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(QString, replace);
    QFETCH(bool, caseSensitive);
    QTEST(ReplaceAll(text, find, replace, caseSensitive), "count");
    QTEST(text, "result");
}

void TestScriptFile::unescape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("count");

    QTest::newRow("tab, cr lf") << "a\\tb\\r\\ny" << "a\tb\r\ny" << 1;
    QTest::newRow("upper case too") << "\\T\\N\\R\\r" << "\t\n\r\r" << 2;
    QTest::newRow("double backslash") << "\\\\t" << "\\\t" << 0;
    QTest::newRow("other escapes stay") << "\\x\\\\" << "\\x\\\\" << 0;
}

void TestScriptFile::unescape()
{
    QFETCH(QString, text);
    QTEST(UnescapeControls(text), "count");
    QTEST(text, "result");
    QString again = text;
    UnescapeControls(again);
    QCOMPARE(again, text);  // resolving twice changes nothing
}

QTEST_GUILESS_MAIN(TestScriptFile)
#include "tst_scriptfile.moc"
