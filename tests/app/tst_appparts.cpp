// The small parts of the editor: the command line, naming new actions, dialog
// units and the help file.

#include "app/ActionNamer.h"
#include "app/CommandLine.h"
#include "app/DialogUnits.h"
#include "app/HelpOpener.h"
#include "framework/ScriptedModalUi.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class TestAppParts : public QObject
{
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void nextActionName_data();
    void nextActionName();
    void dialogUnits();
    void helpFile_data();
    void helpFile();
};

void TestAppParts::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("split by the shell") << QStringList{"/home/anna/my", "scripts/a", "b.mbs"}
                                        << "/home/anna/my scripts/a b.mbs";
    QTest::newRow("quoted") << QStringList{"\"/home/anna/my scripts/a.mbs\""} << "/home/anna/my scripts/a.mbs";
    QTest::newRow("quoted and split") << QStringList{"\"/tmp/a", "b.mbs\""} << "/tmp/a b.mbs";
    QTest::newRow("quote at one end only") << QStringList{"\"/tmp/a.mbs"} << "\"/tmp/a.mbs";
    QTest::newRow("a lone quote") << QStringList{"\""} << "\"";
}

void TestAppParts::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(CCommandLine::ScriptPath(arguments), path);
}

void TestAppParts::nextActionName_data()
{
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hasDefault");
    QTest::newRow("empty tree") << QStringList() << "Action1" << false;
    QTest::newRow("highest, not last") << QStringList{"Default", "Action5", "Action2"} << "Action6" << true;
    QTest::newRow("last root without a number") << QStringList{"Default", "Action1", "Backup"} << "Action2" << true;
    QTest::newRow("case of names") << QStringList{"DEFAULT", "action7"} << "Action8" << true;
    QTest::newRow("not of the form") << QStringList{"Action 9", "Action-4", "Action03", "Action1x"} << "Action1"
                                     << false;
    QTest::newRow("largest number") << QStringList{"Action2147483647", "Action1", "Action3"} << "Action2" << false;
    QTest::newRow("beyond 32 bits is no number") << QStringList{"Action2147483648"} << "Action1" << false;
}

void TestAppParts::nextActionName()
{
    QFETCH(QStringList, roots);
    QFETCH(QString, name);
    QFETCH(bool, hasDefault);
    QTreeWidget tree;
    for (const QString &root : roots)
        tree.addTopLevelItem(new QTreeWidgetItem(QStringList{root}));
    QCOMPARE(CActionNamer::NextActionName(tree), name);
    QCOMPARE(CActionNamer::HasDefaultRoot(tree), hasDefault);
}

void TestAppParts::dialogUnits()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const CDialogUnits units(font);
    QCOMPARE(units.X(4), metrics.averageCharWidth());
    QCOMPARE(units.Y(8), metrics.height());
    QCOMPARE(units.Size(400, 800), QSize(100 * metrics.averageCharWidth(), 100 * metrics.height()));
}

void TestAppParts::helpFile_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("openerWorks");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("message");
    QTest::newRow("there") << true << true << true << QString();
    QTest::newRow("missing") << false << true << false << "was not found";
    QTest::newRow("nothing opens it") << true << false << false << "could not be opened";
}

void TestAppParts::helpFile()
{
    QFETCH(bool, exists);
    QFETCH(bool, openerWorks);
    QFETCH(bool, opened);
    QFETCH(QString, message);
    ScriptedModalUi ui;
    ScopedModalUi install(ui);
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("marrowpad.chm"));
    QFile file(path);
    QVERIFY(!exists || file.open(QIODevice::WriteOnly));
    CHelpOpener help(folder.path());
    QCOMPARE(help.HelpFilePath(), path);
    QList<QUrl> urls;
    help.SetUrlOpener([&](const QUrl &url) { urls << url; return openerWorks; });
    QCOMPARE(help.Open(), opened);
    QCOMPARE(urls, exists ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>());
    QCOMPARE(ui.messages.size(), message.isEmpty() ? 0 : 1);
    // The message says what went wrong and where it looked.
    QVERIFY(message.isEmpty() || (ui.messages[0].contains(message) && ui.messages[0].contains(path)));
}

QTEST_MAIN(TestAppParts)
#include "tst_appparts.moc"
