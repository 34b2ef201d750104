#include "script/SettingCatalogue.h"

#include <QTest>

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void maps_data();
    void maps();
};

void TestCatalogue::maps_data()
{
    QTest::addColumn<bool>("sort");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    QTest::newRow("compare report") << false << "Produce Compare Report" << 6;
    QTest::newRow("synchronize") << false << "Synchronize Both (update & add new files both directions)" << 0;
    QTest::newRow("always prompt") << false << "Always Prompt" << -1;
    QTest::newRow("empty") << false << "" << -1;
    QTest::newRow("case matters") << false << "produce compare report" << -1;
    QTest::newRow("trailing blank") << false << "Produce Compare Report " << -1;
    QTest::newRow("unsorted") << true << "Unsorted" << -1;
    QTest::newRow("crc") << true << "CRC32" << 6;
    QTest::newRow("sort case matters") << true << "file name" << -1;
}

void TestCatalogue::maps()
{
    QFETCH(bool, sort);
    QFETCH(QString, text);
    QTEST(sort ? SortFromText(text) : OperationFromText(text), "code");
    for (int i = 0; i <= 8; ++i)  // every name maps back to its code
        QCOMPARE(OperationFromText(OperationTexts().at(i)), i);
    QCOMPARE(SortTexts().size(), 8);
    for (int c = -1; c <= 6; ++c)
        QCOMPARE(SortFromText(SortNameForCode(c)), c);
    QCOMPARE(SortNameForCode(7), QString());
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
