#include "framework/FileFilter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestFileFilter : public QObject
{
    Q_OBJECT
private slots:
    void nameFilters_data();
    void nameFilters();
    void nearestFolder_data();
    void nearestFolder();
};

void TestFileFilter::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("script filter") << "All Files|*.*||" << QStringList{"All Files (*)"};
    QTest::newRow("picker filter") << "All Files (*.*)|*.*||" << QStringList{"All Files (*)"};
    QTest::newRow("two pairs") << "Scripts (*.mbs)|*.mbs|All Files (*.*)|*.*||"
                               << QStringList{"Scripts (*.mbs)", "All Files (*)"};
    QTest::newRow("several patterns") << "Text (*.txt;*.log)|*.txt; *.log||" << QStringList{"Text (*.txt *.log)"};
    QTest::newRow("other brackets kept") << "Scripts (Marrowby)|*.mbs||" << QStringList{"Scripts (Marrowby) (*.mbs)"};
    QTest::newRow("same pattern once") << "Any|*.*;*||" << QStringList{"Any (*)"};
    QTest::newRow("no end marker") << "All Files|*.*" << QStringList{"All Files (*)"};
    QTest::newRow("empty pattern skipped") << "Nothing| |All|*.*||" << QStringList{"All (*)"};
    QTest::newRow("no description") << "|*.mbs||" << QStringList{"(*.mbs)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestFileFilter::nameFilters()
{
    QFETCH(QString, filter);
    QTEST(FileFilterToNameFilters(filter), "expected");
}

void TestFileFilter::nearestFolder_data()
{
    QTest::addColumn<QString>("relative");  // below a fresh folder holding "sub" and "sub/file.txt"
    QTest::addColumn<QString>("expected");
    QTest::newRow("a file") << "sub/file.txt" << "sub";
    QTest::newRow("missing below") << "sub/gone/deeper" << "sub";
    QTest::newRow("trailing slash") << "sub/" << "sub";
}

void TestFileFilter::nearestFolder()
{
    QFETCH(QString, relative);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("sub"));
    QFile file(root.filePath("sub/file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(NearestExistingFolder(root.filePath(relative)), QDir::cleanPath(root.filePath(expected)));
    QCOMPARE(NearestExistingFolder(QString()), QString());
}

QTEST_GUILESS_MAIN(TestFileFilter)
#include "tst_filefilter.moc"
