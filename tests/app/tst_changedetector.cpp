// The change check reads the writer's bytes back in memory; for every kind of edit it must find what
// writing the tree to a file and loading that file finds.

#include "AppSession.h"
#include "TestLocale.h"
#include "app/ChangeDetector.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>

#include <functional>

namespace {

using Edit = std::function<void(CTreeOptionsCtrl &)>;

const char kScript[] =
    "; kept\r\n[Default]\r\nMask=*.doc\r\nShow Identical=1\r\nColour=red\r\nOutput Header=Report\\n\r\n\r\n"
    "[Action1]\r\nPath1=C:\\Donn\xe9"
    "es\r\nOperation=2\r\nCheck Same Size Files=1\r\n"
    "Min Date Filter=02/03/2021\r\nSkip Files Mask=3\r\nDisplay Columns=1,2\r\n"
    "Add Seconds To Second Dir=3600\r\nOutput Footer=End\r\n\r\n"
    "[Action2]\r\n@=note\r\nPath1=D:\\b\r\nMax Size Filter=12345678901\r\n\r\n[Options]\r\nx=1\r\n";

Edit Set(int root, const char *label, const QString &value)
{
    return [=](CTreeOptionsCtrl &t) {
        CTreeOptionsCtrl::SetItemValueText(Find(t.topLevelItem(root), QString::fromLatin1(label)), value);
    };
}

Edit Uncheck(int root, const char *label)
{
    return [=](CTreeOptionsCtrl &t) {
        CTreeOptionsCtrl::SetCheckState(Find(t.topLevelItem(root), QString::fromLatin1(label)), false);
    };
}

} // namespace

class TestChangeDetector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        UseBritishDates("UTC");
        // A file, not a folder: the check needs no temporary folder.
        const QString notAFolder = m_s.Write("not a folder", QStringLiteral("tmp"));
        QVERIFY(!notAFolder.isEmpty());
        qputenv("TMPDIR", notAFolder.toLocal8Bit());
    }

    void agreesWithTheFileRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("modified");
        const QByteArray script(kScript);
        const QByteArray unicode =
            QByteArray("\xFF\xFE", 2)
            + QByteArray(reinterpret_cast<const char *>(u"[Action1]\r\nPath1=\u0416\r\n"), 20 * 2);

        QTest::newRow("no edit") << script << Edit([](CTreeOptionsCtrl &) {}) << false;
        QTest::newRow("text value") << script << Set(1, "Source Path: ", "E:\\x") << true;
        QTest::newRow("text value, same text")
            << script << Set(1, "Source Path: ", QString::fromUtf8("C:\\Données")) << false;
        QTest::newRow("value the code page lacks")
            << script << Set(1, "Source Path: ", QStringLiteral("C:\\\u0416")) << true;
        QTest::newRow("date") << script << Set(1, "Exclude Files Before Date: ", "03/03/2021") << true;
        QTest::newRow("invalid date") << script << Set(1, "Exclude Files Before Date: ", "31/02/2021") << true;
        QTest::newRow("64-bit size") << script << Set(2, "Exclude Files Larger Than", "12345678902") << true;
        QTest::newRow("check box in Default") << script << Uncheck(0, "Show Identical Files") << true;
        QTest::newRow("mask bit") << script << Uncheck(1, "Exclude Hidden Files") << true;
        QTest::newRow("radio") << script << Edit([](CTreeOptionsCtrl &t) {
            t.SelectRadioItem(Find(t.topLevelItem(1), "Compare Date/Time"));
        }) << true;
        QTest::newRow("item deleted") << script << Edit([](CTreeOptionsCtrl &t) {
            delete Find(t.topLevelItem(1), "Source Path: ");
        }) << true;
        QTest::newRow("action deleted") << script << Edit([](CTreeOptionsCtrl &t) { delete t.topLevelItem(2); })
                                        << true;
        QTest::newRow("action added") << script << Edit([](CTreeOptionsCtrl &t) {
            CompleteAction(t, InsertActionRoot(t, QStringLiteral("Action3")));
        }) << true;
        // Sections load in the order of their numbers, wherever they stand.
        QTest::newRow("actions swapped") << script << Edit([](CTreeOptionsCtrl &t) {
            t.insertTopLevelItem(1, t.takeTopLevelItem(2));
        }) << false;
        // The settings Show All adds hold what the action held without them.
        QTest::newRow("Show All") << script << Edit([](CTreeOptionsCtrl &t) { CompleteAction(t, t.topLevelItem(2)); })
                                  << false;
        QTest::newRow("everything removed") << script << Edit([](CTreeOptionsCtrl &t) { t.clear(); }) << true;
        QTest::newRow("UTF-16 script, no edit") << unicode << Edit([](CTreeOptionsCtrl &) {}) << false;
        QTest::newRow("UTF-16 script, value") << unicode << Set(1, "Source Path: ", QStringLiteral("\u0417")) << true;
    }

    void agreesWithTheFileRoundTrip()
    {
        QFETCH(QByteArray, script);
        QFETCH(Edit, edit);
        QFETCH(bool, modified);
        const QString path = m_s.Write(script);
        QVERIFY(!path.isEmpty());

        CSynchArray baseline;
        CTreeOptionsCtrl tree;
        LoadScriptWithTree(baseline, path, tree);
        edit(tree);

        // The check as it was made through a file.
        const QString written = m_s.dir.filePath(QStringLiteral("written.mbs"));
        QVERIFY(WriteScript(baseline, written, tree, {.reportErrors = false, .announceEncodingChange = false}));
        CSynchArray fromFile;
        fromFile.LoadScript(written, nullptr, {.reportInvalidDates = false});

        const std::unique_ptr<CSynchArray> inMemory = CChangeDetector::ReadBack(tree, baseline);
        QVERIFY(inMemory);
        QVERIFY(CChangeDetector::SameScript(*inMemory, fromFile));
        QCOMPARE(inMemory->m_arrActionNames, fromFile.m_arrActionNames);
        QCOMPARE(inMemory->m_arrDefaultAtLines, fromFile.m_arrDefaultAtLines);
        QCOMPARE(inMemory->m_ScriptFile.Encoding(), fromFile.m_ScriptFile.Encoding());
        QCOMPARE(CChangeDetector::IsScriptModified(tree, baseline), modified);
        QCOMPARE(!CChangeDetector::SameScript(fromFile, baseline), modified);
        QCOMPARE(m_s.ui.messages, QStringList());
    }

private:
    AppSession m_s;
};

QTEST_MAIN(TestChangeDetector)
#include "tst_changedetector.moc"
