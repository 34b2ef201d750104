#include "framework/CodePage.h"

#include <QTest>

class TestCodePage : public QObject
{
    Q_OBJECT
private slots:
    void everyAnsiByteSurvivesARoundTrip();
    void decodes_data();
    void decodes();
    void unrepresentableCharactersAreReported_data();
    void unrepresentableCharactersAreReported();
    void utf16IsCopiedAsItStands();
};

void TestCodePage::everyAnsiByteSurvivesARoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QString text;
    QCOMPARE(MultiByteToString(all.constData(), int(all.size()), text, kAnsiCodePage), 256);
    QByteArray back;
    bool lossy = false;
    QCOMPARE(StringToMultiByte(text.constData(), int(text.size()), back, kAnsiCodePage, &lossy), 256);
    QVERIFY(!lossy);
    QCOMPARE(back, all);
}

void TestCodePage::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::newRow("ansi accents") << QByteArray("C:\\Donn\xe9""es") << int(kAnsiCodePage) << QString::fromUtf16(u"C:\\Données");
    QTest::newRow("ansi euro") << QByteArray("\x80") << int(kAnsiCodePage) << QString::fromUtf16(u"€");
    QTest::newRow("ansi undefined byte") << QByteArray("\x81\x8d\x8f\x90\x9d") << int(kAnsiCodePage)
                                         << QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d");
    QTest::newRow("utf-8") << QByteArray("Donn\xc3\xa9""es") << int(kUtf8) << QString::fromUtf16(u"Données");
    QTest::newRow("empty") << QByteArray() << int(kAnsiCodePage) << QString();
}

void TestCodePage::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QString out = QStringLiteral("stale");
    MultiByteToString(bytes.constData(), int(bytes.size()), out, mode);
    QCOMPARE(out, text);
    QByteArray back;
    StringToMultiByte(out.constData(), int(out.size()), back, mode);
    QCOMPARE(back, bytes);
}

void TestCodePage::unrepresentableCharactersAreReported_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("lossy");
    QTest::newRow("plain") << QString::fromUtf16(u"abc") << QByteArray("abc") << false;
    QTest::newRow("cyrillic") << QString::fromUtf16(u"aЖb") << QByteArray("a?b") << true;
    QTest::newRow("one ? per astral character") << QString::fromUtf16(u"a😀b") << QByteArray("a?b") << true;
}

void TestCodePage::unrepresentableCharactersAreReported()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, lossy);
    bool wasLossy = false;
    QByteArray out;
    StringToMultiByte(text.constData(), int(text.size()), out, kAnsiCodePage, &wasLossy);
    QCOMPARE(out, bytes);
    QCOMPARE(wasLossy, lossy);
    QCOMPARE(AnsiCanEncode(text), !lossy);
}

void TestCodePage::utf16IsCopiedAsItStands()
{
    const QByteArray bytes("[\0D\0]\0", 6);
    QString text;
    QCOMPARE(MultiByteToString(bytes.constData(), int(bytes.size()), text, kUtf16), 12);
    QCOMPARE(text, QStringLiteral("[D]"));
    QByteArray back;
    QCOMPARE(StringToMultiByte(text.constData(), int(text.size()), back, kUtf16), 6);
    QCOMPARE(back, bytes);
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
