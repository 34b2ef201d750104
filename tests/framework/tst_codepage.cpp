#include "framework/CodePage.h"

#include <QTest>

class TestCodePage : public QObject
{
    Q_OBJECT
private slots:
    void everyAnsiByteSurvivesARoundTrip();
    void converts_data();
    void converts();
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

void TestCodePage::converts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lossy");  // text cannot be written in the mode: bytes is what is written
    const int ansi = int(kAnsiCodePage);
    QTest::newRow("ansi accents, euro") << QByteArray("C:\\Donn\xe9""es\x80") << ansi
                                        << QString::fromUtf16(u"C:\\Données€") << false;
    QTest::newRow("ansi undefined bytes") << QByteArray("\x81\x8d\x8f\x90\x9d") << ansi
                                          << QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d") << false;
    QTest::newRow("ansi cyrillic") << QByteArray("a?b") << ansi << QString::fromUtf16(u"aЖb") << true;
    QTest::newRow("ansi: one ? per astral character") << QByteArray("a?b") << ansi << QString::fromUtf16(u"a😀b")
                                                      << true;
    QTest::newRow("utf-8") << QByteArray("Donn\xc3\xa9""es") << int(kUtf8) << QString::fromUtf16(u"Données") << false;
    QTest::newRow("utf-16 as it stands") << QByteArray("[\0D\0]\0", 6) << int(kUtf16) << QString::fromUtf16(u"[D]")
                                         << false;
    QTest::newRow("empty") << QByteArray() << ansi << QString() << false;
}

void TestCodePage::converts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(bool, lossy);
    if (!lossy) {
        QString out = QStringLiteral("stale");
        MultiByteToString(bytes.constData(), int(bytes.size()), out, mode);
        QCOMPARE(out, text);
    }
    QByteArray back;
    bool wasLossy = false;
    StringToMultiByte(text.constData(), int(text.size()), back, mode, &wasLossy);
    QCOMPARE(back, bytes);
    QCOMPARE(wasLossy, lossy);
    if (mode == int(kAnsiCodePage))
        QCOMPARE(AnsiCanEncode(text), !lossy);
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
