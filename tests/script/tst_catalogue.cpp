#include "script/SettingCatalogue.h"

#include <QTest>

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void operations_data();
    void operations();
    void sorts_data();
    void sorts();
};

void TestCatalogue::rows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("label");

    QTest::newRow("first") << 0 << "Path1" << "Source Path: ";
    QTest::newRow("operation") << int(kRowOperation) << "Operation" << "Operation: ";
    QTest::newRow("second radio") << int(kRowBinaryCompare) << "Check Same Size Files" << "Binary Compare Files";
    QTest::newRow("sort") << int(kRowSortCompare) << "Sort Compare" << "Sort By: ";
    QTest::newRow("filters group") << int(kRowFilters) << "Filters" << "Filters";
    QTest::newRow("last skip bit") << int(kRowLastSkipBit) << "Skip Files Mask" << "Exclude System Files";
    QTest::newRow("last") << int(kRowReverseFilters) << "Reverse Filters" << "Reverse Filters";
}

void TestCatalogue::rows()
{
    QFETCH(int, row);
    QFETCH(QString, key);
    QFETCH(QString, label);
    QStringList keys{QStringLiteral("stale")};
    QStringList labels;
    BuildSettingCatalogue(keys, labels);
    QCOMPARE(keys.size(), 49);
    QCOMPARE(labels.size(), 49);
    QCOMPARE(keys.at(row), key);
    QCOMPARE(labels.at(row), label);
}

void TestCatalogue::operations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    QTest::newRow("compare report") << "Produce Compare Report" << 6;
    QTest::newRow("synchronize") << "Synchronize Both (update & add new files both directions)" << 0;
    QTest::newRow("delete empty") << "Delete all Empty Directories (from the target)" << 8;
    QTest::newRow("always prompt") << "Always Prompt" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("case matters") << "produce compare report" << -1;
    QTest::newRow("trailing blank") << "Produce Compare Report " << -1;
}

void TestCatalogue::operations()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(OperationFromText(text), code);
    for (int i = 0; i <= 8; ++i)  // every name maps back to its code
        QCOMPARE(OperationFromText(OperationTexts().at(i)), i);
}

void TestCatalogue::sorts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    QTest::newRow("unsorted") << "Unsorted" << -1;
    QTest::newRow("file name") << "File Name" << 0;
    QTest::newRow("crc") << "CRC32" << 6;
    QTest::newRow("lower case") << "file name" << -1;
}

void TestCatalogue::sorts()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(SortFromText(text), code);
    QCOMPARE(SortTexts().size(), 8);
    for (int c = -1; c <= 6; ++c)
        QCOMPARE(SortFromText(SortNameForCode(c)), c);
    QCOMPARE(SortNameForCode(7), QString());
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
