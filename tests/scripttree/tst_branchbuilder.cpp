// Loading a script into the options tree: branch layouts, and the round trip
// of generated scripts through the tree.

#include "ScriptTreeFixture.h"

#include "bench/ScriptGenerator.h"
#include "framework/ScriptedModalUi.h"
#include "script/tree/ScriptTreeRoles.h"
#include "treeoptions/TreeOptionsDump.h"

#include <QLocale>
#include <QTest>

#include <ctime>

class TestBranchBuilder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void layouts_data();
    void layouts();
    void defaultHasTheSameLayout();
    void unreadableFileLeavesTheTree();
    void roundTrip_data();
    void roundTrip();

private:
    ScriptedModalUi m_ui;
};

void TestBranchBuilder::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    SetModalUi(&m_ui);
}

void TestBranchBuilder::layouts_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("branch");
    QTest::newRow("only Mask") << "Mask=*.doc" << "File Mask: *.doc [11]\n";
    QTest::newRow("only Confirm Updates 0") << "Confirm Updates=0" << "Synchronization [13]\n  Confirm Updates [0]\n";
    QTest::newRow("Reverse Filters and Min Size") << "Reverse Filters=1\nMin Size Filter=100"
        << "Filters [13]\n  Exclude Files Smaller Than (bytes): 100 [11]\n  Reverse Filters [1]\n";
    QTest::newRow("Operation -4") << "Operation=-4"
        << "Operation: Refresh Target (update only existing files in target) [12]\nPrompted Operation [1]\n";
    QTest::newRow("Operation -1") << "Operation=-1" << "Operation: Always Prompt [12]\nPrompted Operation [1]\n";
    QTest::newRow("Operation 12") << "Operation=12" << "Operation:  [12]\nPrompted Operation [0]\n";
    QTest::newRow("Sort 7") << "Sort Compare=7" << "Output [13]\n  Sort By:  [12]\n";
    QTest::newRow("Check Same Size 2") << "Check Same Size Files=2"
        << "Synchronization [13]\n  Compare Date/Time [2]\n  Binary Compare Files [3]\n";
    QTest::newRow("Skip mask 20") << "Skip Files Mask=20"
        << "Filters [13]\n  Exclude Read-Only Files [0]\n  Exclude Hidden Files [0]\n  Exclude Directories [1]\n"
           "  Exclude Archive Files [0]\n  Exclude System Files [1]\n";
    QTest::newRow("64-bit sizes") << "Max Size Filter=123456789012345\nMin Size Filter=-9000000000"
        << "Filters [13]\n  Exclude Files Smaller Than (bytes): -9000000000 [11]\n"
           "  Exclude Files Larger Than (bytes): 123456789012345 [11]\n";
    QTest::newRow("invalid date as found") << "Min Date Filter=31/02/20x"
        << "Filters [13]\n  Exclude Files Before Date: 31/02/20x [11]\n";
    QTest::newRow("flag 5, precision text, order of the file ignored")
        << "Time Check Precision=-2x\nSearch_subdir=5\nPath2=D:\\b\nKey=Value"
        << "Target Path: D:\\b [11]\nInclude Subdirectories [1]\nSynchronization [13]\n  Time Check Precision: -2 [11]\n";
}

void TestBranchBuilder::layouts()
{
    QFETCH(QString, lines);
    QFETCH(QString, branch);
    ScriptTreeFixture fixture;
    m_ui.messages.clear();
    QCOMPARE(fixture.Load(ScriptTreeFixture::Ansi("[Action1]\r\n" + lines.replace(u'\n', "\r\n") + "\r\n")), 1);
    QCOMPARE(TreeOptionsDump(fixture.m_tree), "Default [11]\nAction1 [11]\n" + QString(branch).replace(QRegularExpression("^(.)", QRegularExpression::MultilineOption), "  \\1"));
    QCOMPARE(m_ui.messages.size(), lines.contains(u"20x") ? 1 : 0);
}

void TestBranchBuilder::defaultHasTheSameLayout()
{
    ScriptTreeFixture fixture;
    QCOMPARE(fixture.Load("[Default]\r\nReverse Filters=1\r\nMask=*\r\n[Action1]\r\nReverse Filters=1\r\nMask=*\r\n"), 1);
    QCOMPARE(TreeOptionsDump(fixture.m_tree, fixture.Root("Default")),
             TreeOptionsDump(fixture.m_tree, fixture.Root("Action1")));
}

void TestBranchBuilder::unreadableFileLeavesTheTree()
{
    ScriptTreeFixture fixture;
    InsertActionRoot(fixture.m_tree, QStringLiteral("Kept"));
    QCOMPARE(LoadScriptWithTree(fixture.m_document, fixture.Path("missing.mbs"), fixture.m_tree), 0);
    QCOMPARE(TreeOptionsDump(fixture.m_tree), QStringLiteral("Kept [11]\n"));
}

void TestBranchBuilder::roundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("encoding");
    for (quint32 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("seed %u ansi", seed) << seed << int(ScriptEncoding::Ansi);
    QTest::addRow("seed 5 utf-16") << 5u << int(ScriptEncoding::Utf16Le);
    QTest::addRow("seed 6 utf-8") << 6u << int(ScriptEncoding::Utf8);
}

void TestBranchBuilder::roundTrip()
{
    // Load, write, load again: the same records and the same lines kept per
    // root; writing the second tree gives the same bytes as the first.
    QFETCH(quint32, seed);
    QFETCH(int, encoding);
    CScriptGenerator generator(seed);
    const QString text = "; generated\r\n" + generator.Generate(60) + "[Options]\r\nColour=red\r\n";
    ScriptTreeFixture first;
    const int count = first.Load(CScriptGenerator::Encode(text, ScriptEncoding(encoding)));
    QVERIFY(count > 50);
    const QByteArray written = first.Save();

    ScriptTreeFixture second;
    QCOMPARE(second.Load(written), count);
    QVERIFY(second.m_document.m_Default.IsEqual(first.m_document.m_Default));
    for (int i = 0; i < count; ++i)
        QVERIFY2(second.m_document.GetAt(i)->IsEqual(*first.m_document.GetAt(i)), qPrintable(QString::number(i)));
    QCOMPARE(second.m_document.m_ScriptFile.Encoding(), ScriptEncoding(encoding));
    QCOMPARE(second.m_tree.topLevelItemCount(), first.m_tree.topLevelItemCount());
    for (int i = 0; i < first.m_tree.topLevelItemCount(); ++i)
        QCOMPARE(RootLinesOf(second.m_tree.topLevelItem(i)), RootLinesOf(first.m_tree.topLevelItem(i)));
    QCOMPARE(TreeOptionsDump(second.m_tree), TreeOptionsDump(first.m_tree));
    QCOMPARE(second.Save(), written);
}

QTEST_MAIN(TestBranchBuilder)
#include "tst_branchbuilder.moc"
