// Writing the options tree back as script text: the worked example, what the
// tree does not show, values the user did not touch, edits, encodings and
// saving atomically.

#include "ScriptTreeFixture.h"

#include "bench/ScriptGenerator.h"
#include "framework/ScriptedModalUi.h"
#include "script/tree/ScriptSaver.h"
#include "script/tree/ScriptWriter.h"
#include "treeoptions/SynchComboBox.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <QDir>
#include <QLocale>
#include <QTest>

namespace {

QByteArray Crlf(QString text) { return ScriptTreeFixture::Ansi(text.replace(u'\n', QStringLiteral("\r\n"))); }

// A save file whose writes stop after `limit` bytes, as on a full disk.
class ShortSaveFile : public QSaveFile
{
public:
    ShortSaveFile(const QString &path, qint64 limit) : QSaveFile(path), m_limit(limit) {}

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 part = qMin(length, m_limit);
        m_limit -= part;
        return part > 0 ? QSaveFile::writeData(data, part) : 0;
    }

private:
    qint64 m_limit;
};

} // namespace

class TestScriptWriter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_ui.messages.clear(); }
    void workedExample();
    void resave_data();
    void resave();
    void linesTravelWithTheirAction();
    void editsAfterASave();
    void freshLoadIsNotAChange();
    void encodings_data();
    void encodings();
    void shortWriteKeepsTheOldFile();

private:
    ScriptedModalUi m_ui;
};

void TestScriptWriter::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    SetModalUi(&m_ui);
}

void TestScriptWriter::workedExample()
{
    CTreeOptionsCtrl tree;
    auto value = [&](const QString &text, QTreeWidgetItem *parent) {
        tree.AttachEditBox(tree.InsertItem(text, 11, parent), EditorClass<CTreeOptionsEdit>());
    };
    QTreeWidgetItem *def = InsertActionRoot(tree, QStringLiteral("Default"));
    value(QStringLiteral("Source Path: "), def);
    value(QStringLiteral("File Mask: *.*"), def);
    tree.AddCheckBoxItem(QStringLiteral("Include Subdirectories"), def, true);
    value(QStringLiteral("Operation: Always Prompt"), def);
    tree.AddCheckBoxItem(QStringLiteral("Prompted Operation"), def, true);
    QTreeWidgetItem *sync = tree.AddGroupItem(QStringLiteral("Synchronization"), 13, def);
    tree.AddRadioItem(QStringLiteral("Compare Date/Time"), sync, true);
    tree.AddRadioItem(QStringLiteral("Binary Compare Files"), sync, false);
    tree.AddCheckBoxItem(QStringLiteral("Confirm Updates"), sync, true);
    QTreeWidgetItem *output = tree.AddGroupItem(QStringLiteral("Output"), 13, def);
    value(QStringLiteral("Sort By: File Date"), output);
    tree.AddCheckBoxItem(QStringLiteral("Sort Ascending"), output, false);
    QTreeWidgetItem *filters = tree.AddGroupItem(QStringLiteral("Filters"), 13, def);
    for (const char *box : {"Read-Only", "Hidden", "Directories", "Archive", "System"})
        tree.AddCheckBoxItem(QStringLiteral("Exclude %1%2").arg(box, qstrcmp(box, "Directories") ? " Files" : ""),
                             filters, !qstrcmp(box, "Read-Only") || !qstrcmp(box, "System"));
    for (const char *box : {"Read-Only", "Hidden", "Directories", "Archive", "System"})
        tree.AddCheckBoxItem(QStringLiteral("Ignore %1%2").arg(box, qstrcmp(box, "Directories") ? " Files" : ""),
                             filters, true);
    tree.AddCheckBoxItem(QStringLiteral("Reverse Filters"), filters, false);
    QTreeWidgetItem *action = InsertActionRoot(tree, QStringLiteral("Action1"));
    value(QStringLiteral("Source Path: C:\\Data"), action);
    value(QStringLiteral("Target Path: D:\\Backup"), action);
    value(QStringLiteral("File Mask: *.doc"), action);
    tree.AddCheckBoxItem(QStringLiteral("Include Subdirectories"), action, false);
    value(QStringLiteral("Operation: Update Target (update & add new files to target)"), action);
    tree.AddCheckBoxItem(QStringLiteral("Prompted Operation"), action, false);

    ScriptTreeFixture files;
    CSynchArray document;
    QVERIFY(WriteScript(document, files.Path("example.mbs"), tree));
    QCOMPARE(ScriptTreeFixture::ReadFile(files.Path("example.mbs")),
             QByteArray("[Default]\r\nMask=*.*\r\nSearch_subdir=1\r\nOperation=-1\r\nCheck Same Size Files=0\r\n"
                        "Confirm Updates=1\r\nSort Compare=2\r\nSort Type=0\r\nSkip Files Mask=5\r\n"
                        "Reverse Filters=0\r\n\r\n[Action1]\r\nPath1=C:\\Data\r\nPath2=D:\\Backup\r\n"
                        "Mask=*.doc\r\nSearch_subdir=0\r\nOperation=3\r\n\r\n"));
}

void TestScriptWriter::resave_data()
{
    // A script, edits made in the tree ("toggle", "set", "select", "delete"
    // or "stray" (an unknown item put before), each on "Root/label prefix"),
    // and the text saved.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("saved");
    const QString odd = "[Action1]\nPath1=\nSearch_subdir=5\nOperation=12\nCheck Same Size Files=2\n"
                        "Time Check Precision=abc\nSort Compare=7\nMin Date Filter=31/02/20x\n"
                        "Max Size Filter=12kb\nSkip Files Mask=288\n\n";
    QTest::newRow("untouched values as read") << odd << QStringList() << odd;
    QTest::newRow("prompted Produce Compare Report as read") << "[Action1]\nOperation=-8\n"
        << QStringList() << "[Action1]\nOperation=-8\n\n";
    QTest::newRow("changed mask keeps unknown bits") << odd << QStringList{"toggle Action1/Exclude Hidden"}
        << QString(odd).replace("Mask=288", "Mask=290");
    QTest::newRow("edits follow the rules")
        << odd << QStringList{"set Action1/Source Path=C:\\x", "select Action1/Compare Date", "toggle Action1/Include",
                              "set Action1/Operation=Augment Target (add only new files to destination)",
                              "set Action1/Time Check=4"}
        << "[Action1]\nPath1=C:\\x\nSearch_subdir=0\nOperation=1\nCheck Same Size Files=0\nTime Check Precision=4\n"
           "Sort Compare=7\nMin Date Filter=31/02/20x\nMax Size Filter=12kb\nSkip Files Mask=288\n\n";
    QTest::newRow("toggled back is untouched") << odd
        << QStringList{"toggle Action1/Include", "toggle Action1/Include"} << odd;
    QTest::newRow("keys, comments and sections kept")
        << "; before\n\n[Default]extra\n@=d\nMask=*\nmask=dead\nDisplay Columns=A\n# note\n[Options]\nx=1\n; c\n"
           "[Action1]\nOutput Header=\\t\nPath1=a\n[Action07]\nPath1=b\n[default]\nMask=dead\n[ACTION1]\nPath1=dead\n"
        << QStringList()
        << "; before\n[Default]extra\n@=d\nMask=*\nDisplay Columns=A\n# note\n\n[Action1]\nPath1=a\nOutput Header=\\t\n\n"
           "[Options]\nx=1\n; c\n\n[Action07]\nPath1=b\n\n";
    QTest::newRow("an action is never dropped") << "[Default]\n[Action2]\n[Action3]\n; only this\n" << QStringList()
        << "[Action2]\n\n[Action3]\n; only this\n\n";
    QTest::newRow("Default with lines only") << "[Default]\n; c\n" << QStringList() << "[Default]\n; c\n\n";
    QTest::newRow("deleted prompt loses nothing")
        << "[Action1]\nOperation=3\nConfirm Updates=0\n" << QStringList{"delete Action1/Prompted"}
        << "[Action1]\nOperation=3\nConfirm Updates=0\n\n";
    QTest::newRow("unknown items are passed over")
        << "[Action1]\nMask=*\nSearch_subdir=1\nOperation=3\nConfirm Updates=0\nReverse Filters=1\n"
        << QStringList{"stray Action1/Include", "stray Action1/Prompted", "stray Action1/Synchronization",
                       "stray Action1/Confirm"}
        << "[Action1]\nMask=*\nSearch_subdir=1\nOperation=3\nConfirm Updates=0\nReverse Filters=1\n\n";
    const QString pins = "[Default]\nSort Compare=2\nSkip Files Mask=1\nIgnore Attributes=54\n"
                         "[Action1]\nSort Compare=2\nSkip Files Mask=1\nIgnore Attributes=54\n";
    const QStringList unpin{"set Default/Sort By=Unsorted", "toggle Default/Exclude Read", "toggle Default/Ignore Read",
                            "set Action1/Sort By=Unsorted", "toggle Action1/Exclude Read", "toggle Action1/Ignore Read"};
    QTest::newRow("an action pins what it shows") << pins << unpin
        << "[Default]\n\n[Action1]\nSort Compare=-1\nSkip Files Mask=0\nIgnore Attributes=55\n\n";
}

void TestScriptWriter::resave()
{
    QFETCH(QString, script);
    QFETCH(QStringList, edits);
    QFETCH(QString, saved);
    ScriptTreeFixture fixture;
    fixture.Load(Crlf(script));
    for (const QString &edit : edits) {
        const QString verb = edit.section(u' ', 0, 0);
        const QString where = edit.section(u' ', 1);
        const QString path = where.section(u'=', 0, 0);
        QTreeWidgetItem *item = ScriptTreeFixture::Find(fixture.Root(path.section(u'/', 0, 0)), path.section(u'/', 1));
        QVERIFY2(item, qPrintable(edit));
        if (verb == u"toggle") {
            bool checked = false;
            CTreeOptionsCtrl::GetCheckState(item, checked);
            fixture.m_tree.ToggleCheckBranch(item, checked);
        } else if (verb == u"set") {
            CTreeOptionsCtrl::SetItemValueText(item, where.section(u'=', 1));
        } else if (verb == u"select") {
            fixture.m_tree.SelectRadioItem(item);
        } else if (verb == u"delete") {
            delete item;
        } else {
            QTreeWidgetItem *parent = item->parent();
            parent->insertChild(parent->indexOfChild(item), CTreeOptionsCtrl::NewItem(QStringLiteral("Stray"), 11));
        }
    }
    QCOMPARE(QString::fromLatin1(fixture.Save()), QString::fromLatin1(Crlf(saved)));
}

void TestScriptWriter::linesTravelWithTheirAction()
{
    ScriptTreeFixture fixture;
    fixture.Load("[Action1]\r\n@=one\r\nMask=*.one\r\nUnknown=1\r\n[Action2]\r\nMask=*.two\r\n");
    CTreeOptionsCtrl &tree = fixture.m_tree;
    // Move Action1 down: copy after Action2, delete the original, renumber.
    QTreeWidgetItem *one = fixture.Root("Action1");
    QTreeWidgetItem *two = fixture.Root("Action2");
    QTreeWidgetItem *moved = tree.DuplicateBranch(one, nullptr, two);
    delete one;
    two->setText(0, QStringLiteral("Action1"));
    moved->setText(0, QStringLiteral("Action2"));
    CTreeOptionsCtrl::SetItemValueText(ScriptTreeFixture::Find(moved, "File Mask"), QStringLiteral("*.uno"));
    // Repeat it as Action3; replace Action1 by a new action of that name.
    tree.DuplicateBranch(moved, nullptr, TVI_LAST)->setText(0, QStringLiteral("Action3"));
    delete two;
    CompleteAction(tree, InsertActionRoot(tree, QStringLiteral("Action1"), TVI_FIRST));
    const QString saved = QString::fromLatin1(fixture.Save());
    QVERIFY(saved.endsWith("[Action2]\r\n@=one\r\nMask=*.uno\r\nUnknown=1\r\n\r\n"
                           "[Action3]\r\n@=one\r\nMask=*.uno\r\nUnknown=1\r\n\r\n"));
    QVERIFY(saved.startsWith("[Action1]\r\nSearch_subdir=1\r\nOperation=6\r\n"));
    QCOMPARE(saved.count("Unknown"), 2);
}

void TestScriptWriter::editsAfterASave()
{
    // The dialog saves, reads the file back into its document (without the
    // tree) and goes on editing the same tree.
    ScriptTreeFixture fixture;
    fixture.Load("; top\r\n[Action1]\r\nShow progress=7\r\nAllow Cancel=3\r\nX=1\r\n[Other]\r\ny=2\r\n");
    const QByteArray first = fixture.Save();
    QCOMPARE(fixture.m_document.LoadScript(fixture.Path("out.mbs")), 1);
    fixture.m_tree.ToggleCheckBranch(ScriptTreeFixture::Find(fixture.Root("Action1"), "Allow Cancel"), true);
    QCOMPARE(fixture.Save(), QByteArray(first).replace("Allow Cancel=3", "Allow Cancel=0"));
    QCOMPARE(first, QByteArray("; top\r\n[Action1]\r\nShow progress=7\r\nAllow Cancel=3\r\nX=1\r\n\r\n[Other]\r\ny=2\r\n\r\n"));
}

void TestScriptWriter::freshLoadIsNotAChange()
{
    // What the change check does: the tree to a temporary file, read back
    // without a tree, records compared.
    ScriptTreeFixture fixture;
    fixture.Load("[Default]\r\nAdd Seconds To Second Dir=-5\r\nOutput Header=a\\tb\r\nSkip Files Mask=99\r\n"
                 "[Action1]\r\nOperation=-8\r\nSort Compare=9\r\nMin Date Filter=1/2/2020\r\nMax Date Filter=bad\r\n");
    QVERIFY(WriteScript(fixture.m_document, fixture.Path("check.mbs"), fixture.m_tree, WriteOptions{false, false}));
    CSynchArray scratch;
    m_ui.messages.clear();
    LoadOptions quiet;
    quiet.reportInvalidDates = false;
    QCOMPARE(scratch.LoadScript(fixture.Path("check.mbs"), nullptr, quiet), 1);
    QVERIFY(scratch.GetAt(0)->IsEqual(*fixture.m_document.GetAt(0)));
    QVERIFY(m_ui.messages.isEmpty());
}

void TestScriptWriter::encodings_data()
{
    // The encoding read, a new source path set in the tree (none: no edit),
    // the encoding written and the messages shown.
    QTest::addColumn<int>("read");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("messages");
    const int ansi = int(ScriptEncoding::Ansi), utf16 = int(ScriptEncoding::Utf16Le), utf8 = int(ScriptEncoding::Utf8);
    QTest::newRow("ansi") << ansi << QString() << ansi << 0;
    QTest::newRow("utf-16le") << utf16 << QString() << utf16 << 0;
    QTest::newRow("utf-8") << utf8 << QString() << utf8 << 0;
    QTest::newRow("utf-8 with greek") << utf8 << QStringLiteral("\u03A9mega") << utf8 << 0;
    QTest::newRow("ansi with greek becomes unicode") << ansi << QStringLiteral("\u03A9mega") << utf16 << 1;
}

void TestScriptWriter::encodings()
{
    QFETCH(int, read);
    QFETCH(QString, path);
    QFETCH(int, written);
    QFETCH(int, messages);
    ScriptTreeFixture fixture;
    fixture.Load(CScriptGenerator::Encode(QStringLiteral("[Action1]\r\nPath1=Caf\u00e9\r\n"), ScriptEncoding(read)));
    if (!path.isEmpty())
        CTreeOptionsCtrl::SetItemValueText(ScriptTreeFixture::Find(fixture.Root("Action1"), "Source"), path);
    const QString expected = QStringLiteral("[Action1]\r\nPath1=%1\r\n\r\n").arg(path.isEmpty() ? QStringLiteral("Caf\u00e9") : path);
    const QByteArray out = written == int(ScriptEncoding::Ansi)
        ? ScriptTreeFixture::Ansi(expected) : CScriptGenerator::Encode("\r\n" + expected, ScriptEncoding(written));
    QCOMPARE(fixture.Save(), out);
    QCOMPARE(int(m_ui.messages.size()), messages);
    if (messages)
        QVERIFY(m_ui.messages[0].contains("out.mbs") && m_ui.messages[0].contains("Unicode"));
    // Read back and saved again, the bytes stay.
    fixture.m_document.LoadScript(fixture.Path("out.mbs"));
    QCOMPARE(fixture.Save("again.mbs"), out);
}

void TestScriptWriter::shortWriteKeepsTheOldFile()
{
    ScriptTreeFixture fixture;
    fixture.Load("[Action1]\r\nPath1=C:\\a\r\n");
    const QString path = fixture.WriteFile("old contents", QStringLiteral("target.mbs"));
    CScriptSaver saver(WriteOptions(), [](const QString &target) { return std::make_unique<ShortSaveFile>(target, 5); });
    const QString text = CScriptWriter(fixture.m_document, fixture.m_tree).ScriptText();
    QVERIFY(!saver.Save(text, ScriptEncoding::Ansi, path));
    QCOMPARE(ScriptTreeFixture::ReadFile(path), QByteArray("old contents"));
    QCOMPARE(m_ui.messages.size(), 1);
    QVERIFY(m_ui.messages[0].contains("target.mbs"));
    QVERIFY(m_ui.messages[0].contains(QStringLiteral("Only 5 of %1 bytes").arg(text.size())));
    QCOMPARE(QDir(fixture.Path(".")).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left

    // A folder that does not exist: reported, nothing written.
    m_ui.messages.clear();
    QVERIFY(!WriteScript(fixture.m_document, fixture.Path("no/such/dir.mbs"), fixture.m_tree));
    QCOMPARE(m_ui.messages.size(), 1);
    QVERIFY(m_ui.messages[0].contains("dir.mbs"));
}

QTEST_MAIN(TestScriptWriter)
#include "tst_scriptwriter.moc"
