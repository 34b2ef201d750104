// Loading, saving and closing end to end: the save question and its answers,
// change detection, scripts that cannot be read or written, and a whole
// editing run by keyboard compared byte for byte.

#include "AppFixture.h"

#include "framework/QtModalUi.h"
#include "script/SynchArray.h"

#include <QDir>
#include <QMessageBox>
#include <QTimer>

namespace {

const QByteArray kScript = "[Default]\n"
                           "Mask=*.*\n"
                           "Search_subdir=1\n"
                           "\n"
                           "[Action1]\n"
                           "Path1=C:\\Data\n"
                           "Path2=E:\\Backup\n"
                           "Operation=3\n"
                           "\n"
                           "[Action2]\n"
                           "Path1=C:\\Photos\n"
                           "Path2=F:\\Photos\n"
                           "Mask=*.jpg\n";

} // namespace

class TestLoadSave : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void saveQuestion_data();
    void saveQuestion();
    void changeDetection_data();
    void changeDetection();
    void valueBeingEditedIsKept_data();
    void valueBeingEditedIsKept();
    void bareFileNameIsAsked();
    void failedSaveChangesNothing();
    void escOnTheQuestionDoesNothing();
    void unreadableScriptNeverReplaces();
    void startWithUnreadableOrMissingScript();
    void invalidDatesAreReportedOnce();
    void wholeEditingRun();

private:
    void Toggle(QTreeWidgetItem *item);
    void ToggleSomething();

    std::unique_ptr<AppFixture> m_fx;
    QString m_script;
    QString m_other;
};

void TestLoadSave::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    qputenv("TZ", "UTC");
}

void TestLoadSave::init()
{
    m_fx = std::make_unique<AppFixture>();
    m_script = m_fx->Write(QStringLiteral("script.mbs"), kScript);
    m_other = m_fx->Write(QStringLiteral("other.mbs"), "[Action1]\nPath1=C:\\Other\n");
}

void TestLoadSave::cleanup()
{
    const QStringList unexpected = m_fx->ui.unexpected;
    m_fx.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u", ")));
}

void TestLoadSave::Toggle(QTreeWidgetItem *item)
{
    m_fx->Tree().setFocus();
    m_fx->Tree().scrollToItem(item);
    m_fx->Tree().setCurrentItem(item);
    QTest::keyClick(&m_fx->Tree(), Qt::Key_Space);
}

void TestLoadSave::ToggleSomething()
{
    // "Prompted Operation" of a new script, "Include Subdirectories" of a loaded one.
    QTreeWidgetItem *root = m_fx->Root(m_fx->dialog->ScriptPath().isEmpty() ? QStringLiteral("Action1")
                                                                             : QStringLiteral("Default"));
    QTreeWidgetItem *item = AppFixture::Find(root, QStringLiteral("Prompted Operation"));
    if (!item)
        item = AppFixture::Find(root, QStringLiteral("Include Subdirectories"));
    root->setExpanded(true);
    Toggle(item);
}

void TestLoadSave::saveQuestion_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("command"); // Close or Load
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("answer");  // empty: no question expected; yes; no
    QTest::addColumn<bool>("saveDialogCancelled");
    QTest::addColumn<bool>("goesOn");     // closed, or the other script loaded
    QTest::addColumn<bool>("saved");
    for (const char *command : {"Close", "Load"}) {
        for (bool named : {false, true}) {
            const QString kind = named ? QStringLiteral("named") : QStringLiteral("new");
            QTest::addRow("%s %s clean", command, qPrintable(kind))
                << named << command << false << QString() << false << true << false;
            QTest::addRow("%s %s modified, No", command, qPrintable(kind))
                << named << command << true << "no" << false << true << false;
            QTest::addRow("%s %s modified, Yes", command, qPrintable(kind))
                << named << command << true << "yes" << false << true << true;
        }
        QTest::addRow("%s new modified, Yes, save dialog cancelled", command)
            << false << command << true << "yes" << true << false << false;
    }
}

void TestLoadSave::saveQuestion()
{
    QFETCH(bool, named);
    QFETCH(QString, command);
    QFETCH(bool, edit);
    QFETCH(QString, answer);
    QFETCH(bool, saveDialogCancelled);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);
    CAppDlg &dlg = m_fx->Open(named ? m_script : QString());
    if (edit)
        ToggleSomething();
    QCOMPARE(dlg.IsScriptModified(), edit);
    const QString dump = TreeOptionsDump(m_fx->Tree());
    const QString chosen = m_fx->Path(QStringLiteral("chosen.mbs"));
    if (!answer.isEmpty())
        m_fx->ui.answers.push_back(answer == u"yes");
    if (answer == u"yes" && !named)
        m_fx->ui.fileChoices.push_back(saveDialogCancelled ? std::nullopt : std::optional<QString>(chosen));
    const bool load = command == u"Load";
    if (load && goesOn)
        m_fx->ui.fileChoices.push_back(m_other);

    m_fx->Click(load ? QStringLiteral("&Load Script") : QStringLiteral("Close"));

    const QString prompt = named ? QStringLiteral("Save changes to %1?").arg(m_script)
                                 : QStringLiteral("Save changes to the new script?");
    QCOMPARE(m_fx->ui.questions, answer.isEmpty() ? QStringList() : QStringList{prompt});
    const QByteArray scriptNow = AppFixture::Read(named ? m_script : chosen);
    if (!saved) {
        QCOMPARE(scriptNow, named ? AppFixture::Read(m_script) : QByteArray());
        if (named)
            QCOMPARE(scriptNow, QByteArray(kScript).replace("\n", "\r\n"));
    } else {
        QVERIFY(scriptNow.contains(named ? "Search_subdir=0\r\n" : "[Action1]\r\n"));
    }
    qsizetype dialogs = 0;
    if (answer == u"yes" && !named) {
        const FileDialogRequest &request = m_fx->ui.fileRequests[dialogs++];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(request.filter, QStringLiteral("All Files|*.*||"));
        QVERIFY(request.overwritePrompt);
    }
    if (load && goesOn) {
        const FileDialogRequest &request = m_fx->ui.fileRequests[dialogs++];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
        QCOMPARE(request.filter, QStringLiteral("All Files|*.*||"));
        QVERIFY(request.fileMustExist);
        // The open dialog starts in the folder of the script being edited.
        QCOMPARE(request.initialDir, named ? QFileInfo(m_script).absolutePath() : QString());
    }
    QCOMPARE(m_fx->ui.fileRequests.size(), dialogs);

    if (!goesOn) {
        QVERIFY(dlg.isVisible());
        QCOMPARE(TreeOptionsDump(m_fx->Tree()), dump);
        QVERIFY(dlg.ScriptPath().isEmpty());
        QVERIFY(dlg.IsScriptModified());
    } else if (load) {
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.ScriptPath(), m_other);
        QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1"}));
        QVERIFY(!dlg.IsScriptModified());
    } else {
        QVERIFY(!dlg.isVisible());
    }
    if (saved && !load && !named)
        QCOMPARE(dlg.ScriptPath(), chosen);
}

void TestLoadSave::changeDetection_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("modified");
    QTest::newRow("untouched") << kScript << "" << false;
    QTest::newRow("keys the tree does not show")
        << QByteArray("[Default]\nOutput Header=Report\\n\n[Action1]\nDisplay Columns=1,2\n"
                      "Add Seconds To Second Dir=3600\nOutput Footer=End\nPath1=C:\\A\n")
        << "" << false;
    QTest::newRow("a value of an action") << kScript << "value" << true;
    QTest::newRow("a check box in Default") << kScript << "default" << true;
    QTest::newRow("Default of a script without actions") << QByteArray("[Default]\nSearch_subdir=1\n") << "default"
                                                          << true;
    QTest::newRow("a move") << kScript << "move" << true;
    QTest::newRow("a move and back") << kScript << "move back" << false;
    QTest::newRow("an action repeated and deleted") << kScript << "repeat delete" << false;
    QTest::newRow("saved after an edit") << kScript << "value save" << false;
}

void TestLoadSave::changeDetection()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, edit);
    QFETCH(bool, modified);
    CAppDlg &dlg = m_fx->Open(m_fx->Write(QStringLiteral("detect.mbs"), script));
    QVERIFY(!dlg.IsScriptModified());
    if (edit.startsWith(u"value")) {
        QTreeWidgetItem *root = m_fx->Root(QStringLiteral("Action1"));
        root->setExpanded(true);
        m_fx->TypeValue(AppFixture::Find(root, QStringLiteral("Source Path: ")), QStringLiteral("D:\\Elsewhere"));
        m_fx->Tree().setCurrentItem(root);
    } else if (edit == u"default") {
        QTreeWidgetItem *root = m_fx->Root(QStringLiteral("Default"));
        root->setExpanded(true);
        Toggle(AppFixture::Find(root, QStringLiteral("Include Subdirectories")));
    } else if (edit.startsWith(u"move")) {
        m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action1")));
        m_fx->Click(QStringLiteral("Move &Down"));
        if (edit.endsWith(u"back"))
            m_fx->Click(QStringLiteral("Move &Up"));
    } else if (edit == u"repeat delete") {
        m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action1")));
        m_fx->Click(QStringLiteral("&Repeat Action"));
        QVERIFY(dlg.IsScriptModified());
        m_fx->Click(QStringLiteral("&Delete"));
    }
    if (edit.endsWith(u"save"))
        m_fx->Click(QStringLiteral("Save"));
    QCOMPARE(dlg.IsScriptModified(), modified);
    // Close asks exactly when the script changed.
    if (modified)
        m_fx->ui.answers.push_back(false);
    m_fx->Click(QStringLiteral("Close"));
    QCOMPARE(m_fx->ui.questions.size(), modified ? 1 : 0);
    QVERIFY(!dlg.isVisible());
}

void TestLoadSave::valueBeingEditedIsKept_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("window closed") << "close";
    QTest::newRow("Load Script") << "load";
}

void TestLoadSave::valueBeingEditedIsKept()
{
    QFETCH(QString, how);
    CAppDlg &dlg = m_fx->Open(m_script);
    QTreeWidgetItem *root = m_fx->Root(QStringLiteral("Action2"));
    root->setExpanded(true);
    QTreeWidgetItem *mask = AppFixture::Find(root, QStringLiteral("File Mask: "));
    m_fx->TypeValue(mask, QStringLiteral("*.doc"));
    QVERIFY(m_fx->Tree().ActiveEdit()->hasFocus());
    QCOMPARE(mask->text(0), QStringLiteral("File Mask"));
    if (how != u"Enter")
        m_fx->ui.answers.push_back(true);
    if (how == u"load")
        m_fx->ui.fileChoices.push_back(std::nullopt);
    QWidget *editor = QApplication::focusWidget();
    if (how == u"Enter")
        QTest::keyClick(editor, Qt::Key_Return);
    else if (how == u"Esc")
        QTest::keyClick(editor, Qt::Key_Escape);
    else if (how == u"close")
        dlg.close();
    else
        QTest::keyClick(editor, Qt::Key_L, Qt::AltModifier); // the button clicks a moment later
    QTRY_COMPARE(m_fx->ui.questions.size(), how == u"Enter" ? 0 : 1);
    QVERIFY(AppFixture::Read(m_script).contains("[Action2]\r\nPath1=C:\\Photos\r\nPath2=F:\\Photos\r\nMask=*.doc\r\n"));
    QCOMPARE(dlg.isVisible(), how == u"Enter" || how == u"load");
    if (dlg.isVisible()) {
        QCOMPARE(mask->text(0), QStringLiteral("File Mask: *.doc"));
        QVERIFY(!dlg.IsScriptModified());
    }
}

void TestLoadSave::bareFileNameIsAsked()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QFileInfo(m_script).absolutePath()));
    CAppDlg &dlg = m_fx->Open(QStringLiteral("script.mbs"));
    QCOMPARE(dlg.ScriptPath(), QStringLiteral("script.mbs"));
    ToggleSomething();
    m_fx->ui.answers.push_back(true);
    m_fx->ui.fileChoices.push_back(m_other);
    m_fx->Click(QStringLiteral("&Load Script"));
    QDir::setCurrent(previous);
    QCOMPARE(m_fx->ui.questions, QStringList{"Save changes to script.mbs?"});
    QCOMPARE(m_fx->ui.fileRequests.value(0).initialDir, QFileInfo(m_script).absolutePath());
    QVERIFY(AppFixture::Read(m_script).contains("Search_subdir=0\r\n"));
    QCOMPARE(dlg.ScriptPath(), m_other);
}

void TestLoadSave::failedSaveChangesNothing()
{
    const QString impossible = m_fx->Path(QStringLiteral("no such folder/new.mbs"));
    // A new, untouched script: Save fails, and it still is the same new script.
    CAppDlg &fresh = m_fx->Open();
    m_fx->ui.fileChoices.push_back(impossible);
    m_fx->Click(QStringLiteral("Save"));
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QVERIFY(m_fx->ui.messages[0].contains(QStringLiteral("new.mbs")));
    QVERIFY(fresh.ScriptPath().isEmpty());
    QVERIFY(!fresh.IsScriptModified());
    // Changed, Close, Yes, and the save fails: the editor stays open.
    ToggleSomething();
    const QString dump = TreeOptionsDump(m_fx->Tree());
    m_fx->ui.answers.push_back(true);
    m_fx->ui.fileChoices.push_back(impossible);
    m_fx->Click(QStringLiteral("Close"));
    QCOMPARE(m_fx->ui.messages.size(), 2);
    QVERIFY(fresh.isVisible());
    QCOMPARE(TreeOptionsDump(m_fx->Tree()), dump);

    // A named script whose file can no longer be written (it became a folder).
    CAppDlg &named = m_fx->Open(m_script);
    ToggleSomething();
    QVERIFY(QFile::remove(m_script));
    QVERIFY(QDir().mkdir(m_script));
    m_fx->ui.answers.push_back(true);
    m_fx->Click(QStringLiteral("&Load Script")); // Yes, the save fails: no open dialog
    QCOMPARE(m_fx->ui.messages.size(), 3);
    m_fx->Click(QStringLiteral("Save"));
    QCOMPARE(m_fx->ui.messages.size(), 4);
    QCOMPARE(named.ScriptPath(), m_script);
    QVERIFY(named.IsScriptModified());
    QCOMPARE(m_fx->ui.fileRequests.size(), 2);
}

void TestLoadSave::escOnTheQuestionDoesNothing()
{
    QtModalUi real;
    ScopedModalUi install(real);
    CAppDlg &dlg = m_fx->Open(m_script);
    ToggleSomething();
    bool stayedOpen = false;
    QString caption;
    auto *poll = new QTimer(&dlg);
    connect(poll, &QTimer::timeout, &dlg, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        caption = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Escape);
        QTest::keyClick(box, Qt::Key_Escape);
        stayedOpen = box->isVisible();
        box->button(QMessageBox::No)->click();
    });
    poll->start(10);
    QTest::keyClick(&m_fx->Tree(), Qt::Key_Escape);
    QVERIFY(stayedOpen);
    QCOMPARE(caption, QStringLiteral("Marrowby script editor"));
    QVERIFY(!dlg.isVisible());
    QVERIFY(AppFixture::Read(m_script).contains("Search_subdir=1\r\n"));
}

void TestLoadSave::unreadableScriptNeverReplaces()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    ToggleSomething();
    const QString dump = TreeOptionsDump(m_fx->Tree());
    const QString folder = m_fx->Path(QStringLiteral("a folder"));
    QVERIFY(QDir().mkdir(folder));
    m_fx->ui.answers.push_back(false);
    m_fx->ui.fileChoices.push_back(folder);
    m_fx->Click(QStringLiteral("&Load Script"));
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QVERIFY(m_fx->ui.messages[0].contains(QStringLiteral("a folder")));
    QCOMPARE(TreeOptionsDump(m_fx->Tree()), dump);
    QCOMPARE(dlg.ScriptPath(), m_script);
    QVERIFY(dlg.IsScriptModified());
    // Enter saves the script being edited where it came from.
    m_fx->Tree().setFocus();
    QTest::keyClick(&m_fx->Tree(), Qt::Key_Return);
    QVERIFY(AppFixture::Read(m_script).contains("[Default]\r\nMask=*.*\r\nSearch_subdir=0\r\n"));
}

void TestLoadSave::startWithUnreadableOrMissingScript()
{
    // There but unreadable: a message, then a new, unnamed script.
    const QString folder = m_fx->Path(QStringLiteral("folder.mbs"));
    QVERIFY(QDir().mkdir(folder));
    CAppDlg &unreadable = m_fx->Open(folder);
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1"}));
    QVERIFY(unreadable.ScriptPath().isEmpty());
    QVERIFY(!unreadable.IsScriptModified());

    // Not there: an empty script with that path, which Save creates.
    const QString missing = m_fx->Path(QStringLiteral("missing.mbs"));
    CAppDlg &empty = m_fx->Open(missing);
    QCOMPARE(m_fx->ui.messages.size(), 2); // the reader says it is not there
    QVERIFY(m_fx->ui.messages[1].contains(missing));
    QCOMPARE(empty.ScriptPath(), missing);
    QCOMPARE(m_fx->Tree().topLevelItemCount(), 0);
    QVERIFY(!empty.IsScriptModified());
    m_fx->Tree().setCurrentItem(nullptr);
    m_fx->Click(QStringLiteral("&New Action"));
    QCOMPARE(m_fx->RootNames(), QStringList{"Default"});
    QVERIFY(empty.IsScriptModified());
    m_fx->Click(QStringLiteral("Save"));
    QVERIFY(AppFixture::Read(missing).startsWith("[Default]\r\n"));
    QVERIFY(!empty.IsScriptModified());
}

void TestLoadSave::invalidDatesAreReportedOnce()
{
    const QString path = m_fx->Write(QStringLiteral("dates.mbs"), "[Action1]\nPath1=C:\\A\nMin Date Filter=31/02/2021\n");
    CAppDlg &dlg = m_fx->Open();
    m_fx->ui.fileChoices.push_back(path);
    m_fx->Click(QStringLiteral("&Load Script"));
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QVERIFY(m_fx->ui.messages[0].contains(QStringLiteral("31/02/2021")));
    QVERIFY(!dlg.IsScriptModified());
    m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action1")));
    m_fx->Click(QStringLiteral("&Repeat Action"));
    m_fx->Click(QStringLiteral("Save"));
    m_fx->Click(QStringLiteral("&Delete"));
    m_fx->ui.answers.push_back(true);
    m_fx->Click(QStringLiteral("Close"));
    QCOMPARE(m_fx->ui.questions.size(), 1);
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QVERIFY(!dlg.isVisible());
}

void TestLoadSave::wholeEditingRun()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    CTreeOptionsCtrl &tree = m_fx->Tree();
    tree.setFocus();
    QTreeWidgetItem *action1 = m_fx->Root(QStringLiteral("Action1"));
    QTreeWidgetItem *action2 = m_fx->Root(QStringLiteral("Action2"));
    action1->setExpanded(true);

    // A new target path typed in place; Tab takes the keyboard back to the tree.
    m_fx->TypeValue(AppFixture::Find(action1, QStringLiteral("Target Path: ")), QStringLiteral("E:\\Mirror"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(tree.hasFocus());
    // The next item is the operation: its list, one entry further down.
    QTest::keyClick(&tree, Qt::Key_Down);
    QVERIFY(tree.currentItem()->text(0).startsWith(QStringLiteral("Operation")));
    QTest::keyClick(&tree, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(AppFixture::Find(action1, QStringLiteral("Operation: "))->text(0),
             QStringLiteral("Operation: Update & Prune Target (update, add new & remove orphans from target)"));

    // A check box of Default toggled by the space bar.
    QTreeWidgetItem *defaults = m_fx->Root(QStringLiteral("Default"));
    defaults->setExpanded(true);
    Toggle(AppFixture::Find(defaults, QStringLiteral("Include Subdirectories")));

    // A new action below Action2, cut down to its first settings, a source
    // path typed; then moved up above Action2.
    tree.setCurrentItem(action2);
    QTest::keyClick(&dlg, Qt::Key_N, Qt::AltModifier); // the button clicks a moment later
    QTRY_VERIFY(m_fx->Root(QStringLiteral("Action3")));
    QTreeWidgetItem *added = m_fx->Root(QStringLiteral("Action3"));
    QCOMPARE(tree.currentItem(), added);
    for (const QString &group : {QStringLiteral("Synchronization"), QStringLiteral("Output"), QStringLiteral("Filters")}) {
        tree.setCurrentItem(AppFixture::Find(added, group));
        m_fx->Click(QStringLiteral("&Delete"));
    }
    m_fx->TypeValue(AppFixture::Find(added, QStringLiteral("Source Path: ")), QStringLiteral("C:\\New"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    tree.setCurrentItem(added);
    QTest::keyClick(&dlg, Qt::Key_U, Qt::AltModifier);
    QTRY_COMPARE(added->text(0), QStringLiteral("Action2"));
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));
    QCOMPARE(tree.currentItem(), added);
    QCOMPARE(added->text(0), QStringLiteral("Action2"));

    QVERIFY(dlg.IsScriptModified());
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(AppFixture::Read(m_script), QByteArray("[Default]\r\n"
                                                    "Mask=*.*\r\n"
                                                    "Search_subdir=0\r\n"
                                                    "\r\n"
                                                    "[Action1]\r\n"
                                                    "Path1=C:\\Data\r\n"
                                                    "Path2=E:\\Mirror\r\n"
                                                    "Operation=4\r\n"
                                                    "\r\n"
                                                    "[Action2]\r\n"
                                                    "Path1=C:\\New\r\n"
                                                    "Search_subdir=1\r\n"
                                                    "Operation=6\r\n"
                                                    "\r\n"
                                                    "[Action3]\r\n"
                                                    "Path1=C:\\Photos\r\n"
                                                    "Path2=F:\\Photos\r\n"
                                                    "Mask=*.jpg\r\n"
                                                    "\r\n"));
    QVERIFY(!dlg.IsScriptModified());
    m_fx->Click(QStringLiteral("Close"));
    QVERIFY(m_fx->ui.questions.isEmpty());
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(TestLoadSave)
#include "tst_loadsave.moc"
