// Finding and replacing text in values: separators alike, case, whole path parts, the index of many
// texts, and which sections inherit a changed Default value.

#include "script/find/ReplacePlan.h"
#include "script/find/TextFinder.h"
#include "script/find/TextIndex.h"

#include <QTest>

class TestFind : public QObject
{
    Q_OBJECT
private slots:
    void replaced_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeParts");
        QTest::addColumn<QString>("expected");
        QTest::newRow("case ignored, slashes alike") << "d:/data/x;D:\\DATA"
                                                     << "D:\\Data" << false << false << "N:\\new/x;N:\\new";
        QTest::newRow("match case") << "D:\\Data;d:\\data"
                                    << "D:\\Data" << true << false << "N:\\new;d:\\data";
        QTest::newRow("whole parts keep a longer name")
            << "D:\\Database;D:\\Data\\x;D:\\Data"
            << "D:\\Data" << false << true << "D:\\Database;N:\\new\\x;N:\\new";
        QTest::newRow("whole parts keep a part that begins inside a name")
            << "C:\\OldData\\Data"
            << "Data" << false << true << "C:\\OldData\\N:\\new";
        QTest::newRow("a needle ending in a separator") << "D:\\Data\\x"
                                                        << "d:\\" << false << true << "N:\\newData\\x";
        QTest::newRow("no match") << "E:\\Backup"
                                  << "D:" << false << false << "E:\\Backup";
    }
    void replaced()
    {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeParts);
        QFETCH(QString, expected);
        const CTextFinder finder(needle, {matchCase, wholeParts});
        QCOMPARE(finder.Replaced(text, QStringLiteral("N:\\new")), expected);
        QCOMPARE(finder.Holds(text), expected != text);
    }

    void indexFindsEachEntryOnce()
    {
        CTextIndex index;
        index.Add(u"Source Path", u"E:\\Backup\\e:\\x");
        index.Add(u"Target Path", u"C:\\Data");
        index.Add(u"File Mask", u"*.*");
        index.Add(u"Output File", u"e:/report.txt");
        QCOMPARE(index.Matching(CTextFinder(QStringLiteral("E:\\"))), (std::vector<int>{0, 3}));
        QCOMPARE(index.Matching(CTextFinder(QStringLiteral("path"))), (std::vector<int>{0, 1}));
        // A match never spans a label and its value, nor two entries.
        QCOMPARE(index.Matching(CTextFinder(QStringLiteral("PathC:"))), std::vector<int>{});
        QCOMPARE(index.Matching(CTextFinder(QStringLiteral("*File"))), std::vector<int>{});
    }

    void planNamesInheritorsOfDefault()
    {
        const std::vector<CValueSite> sites = {{"Default", "Source Path", "D:\\Data"},
                                               {"Default", "Target Path", "E:\\Old"},
                                               {"Action1", "Source Path", "D:\\Data\\a"},
                                               {"Action2", "Target Path", "D:\\Data"}};
        const QStringList sections = {"Default", "Action1", "Action2", "Action3"};
        const CTextFinder finder(QStringLiteral("d:\\data"));
        const auto plan = CReplacePlan::Make(sites, sections, finder, QStringLiteral("X:"));
        QCOMPARE(plan.size(), size_t(3));
        QCOMPARE(plan[0].m_nSite, 0);
        QCOMPARE(plan[0].m_inheritors, QStringList({"Action2", "Action3"}));
        QCOMPARE(plan[1].m_strNewValue, QStringLiteral("X:\\a"));
        QVERIFY(plan[1].m_inheritors.isEmpty());
        const auto one = CReplacePlan::Make(sites, sections, finder, QStringLiteral("X:"), QStringLiteral("action2"));
        QVERIFY(one.size() == 1 && one[0].m_nSite == 3);
    }
};

QTEST_APPLESS_MAIN(TestFind)
#include "tst_find.moc"
