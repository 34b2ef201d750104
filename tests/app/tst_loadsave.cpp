// Loading, saving and closing end to end: the save question and its answers,
// change detection, values being edited, scripts that cannot be read or
// written, and a whole editing run by keyboard compared byte for byte.

#include "AppFixture.h"

#include "framework/QtModalUi.h"

#include <QDir>
#include <QMessageBox>
#include <QTimer>

namespace {

const QByteArray kScript = "[Default]\nMask=*.*\nSearch_subdir=1\n\n"
                           "[Action1]\nPath1=C:\\Data\nPath2=E:\\Backup\nOperation=3\n\n"
                           "[Action2]\nPath1=C:\\Photos\nPath2=F:\\Photos\nMask=*.jpg\n";

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
    void failedSaveKeepsPathAndBaseline_data();
    void failedSaveKeepsPathAndBaseline();
    void changeDetection_data();
    void changeDetection();
    void valueBeingEditedIsKept_data();
    void valueBeingEditedIsKept();
    void bareFileNameIsAsked();
    void escOnTheQuestionDoesNothing();
    void unreadableScriptNeverReplaces();
    void startWithUnreadableOrMissingScript();
    void invalidDatesAreReportedOnce();
    void wholeEditingRun();

private:
    // "Prompted Operation" of a new script, "Include Subdirectories" of Default in a loaded one.
    void ToggleSomething() const
    {
        if (m_fx->dialog->ScriptPath().isEmpty())
            m_fx->Toggle(QStringLiteral("Action1"), QStringLiteral("Prompted Operation"));
        else
            m_fx->Toggle(QStringLiteral("Default"), QStringLiteral("Include Subdirectories"));
    }

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

void TestLoadSave::saveQuestion_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("load");      // Load Script, or Close
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("answer"); // empty: no question expected
    QTest::addColumn<QString>("saveAs"); // the save dialog's choice for a new script; empty: cancelled
    QTest::addColumn<bool>("goesOn");    // closed, or the other script loaded
    for (bool load : {false, true}) {
        const char *command = load ? "Load" : "Close";
        for (bool named : {false, true}) {
            const char *kind = named ? "named" : "new";
            QTest::addRow("%s %s clean", command, kind) << named << load << false << "" << "" << true;
            QTest::addRow("%s %s modified, No", command, kind) << named << load << true << "no" << "" << true;
            QTest::addRow("%s %s modified, Yes", command, kind)
                << named << load << true << "yes" << "chosen.mbs" << true;
        }
        QTest::addRow("%s new modified, Yes, save dialog cancelled", command)
            << false << load << true << "yes" << "" << false;
        QTest::addRow("%s new modified, Yes, the write fails", command)
            << false << load << true << "yes" << "no such folder/new.mbs" << false;
    }
}

void TestLoadSave::saveQuestion()
{
    QFETCH(bool, named);
    QFETCH(bool, load);
    QFETCH(bool, edit);
    QFETCH(QString, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, goesOn);
    CAppDlg &dlg = m_fx->Open(named ? m_script : QString());
    if (edit)
        ToggleSomething();
    QCOMPARE(dlg.IsScriptModified(), edit);
    const QString dump = TreeOptionsDump(m_fx->Tree());
    const QString savePath = saveAs.isEmpty() ? QString() : m_fx->Path(saveAs);
    const bool saveDialog = answer == u"yes" && !named;
    if (!answer.isEmpty())
        m_fx->ui.answers.push_back(answer == u"yes");
    if (saveDialog)
        m_fx->ui.fileChoices.push_back(savePath.isEmpty() ? std::nullopt : std::optional<QString>(savePath));
    if (load && goesOn)
        m_fx->ui.fileChoices.push_back(m_other);

    m_fx->Click(load ? QStringLiteral("&Load Script") : QStringLiteral("Close"));

    const QString prompt = named ? QStringLiteral("Save changes to %1?").arg(m_script)
                                 : QStringLiteral("Save changes to the new script?");
    QCOMPARE(m_fx->ui.questions, answer.isEmpty() ? QStringList() : QStringList{prompt});
    const bool saved = answer == u"yes" && goesOn;
    QCOMPARE(AppFixture::Read(m_script).contains("Search_subdir=0\r\n"), named && saved);
    QCOMPARE(!named && AppFixture::Read(savePath).startsWith("[Default]\r\n"), !named && saved);
    QCOMPARE(m_fx->ui.messages.size(), saveAs.contains(u'/') ? 1 : 0); // the failed write is told
    // Both file dialogs offer "All Files"; the open dialog starts in the script's folder.
    const auto &requests = m_fx->ui.fileRequests;
    QCOMPARE(requests.size(), qsizetype(saveDialog) + qsizetype(load && goesOn));
    for (const FileDialogRequest &request : requests) {
        QCOMPARE(request.filter, QStringLiteral("All Files|*.*||"));
        const bool open = request.mode == FileDialogRequest::Mode::Open;
        QCOMPARE(open, !saveDialog || &request != &requests[0]);
        QVERIFY(open ? request.fileMustExist : request.overwritePrompt);
        QCOMPARE(request.initialDir, open && named ? QFileInfo(m_script).absolutePath() : QString());
    }

    QCOMPARE(dlg.isVisible(), load || !goesOn);
    if (!goesOn) { // the edits are all still there
        QCOMPARE(TreeOptionsDump(m_fx->Tree()), dump);
        QVERIFY(dlg.ScriptPath().isEmpty() && dlg.IsScriptModified());
    } else if (load) {
        QCOMPARE(dlg.ScriptPath(), m_other);
        QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1"}));
        QVERIFY(!dlg.IsScriptModified());
    } else if (saveDialog) {
        QCOMPARE(dlg.ScriptPath(), savePath);
    }
}

void TestLoadSave::failedSaveKeepsPathAndBaseline_data()
{
    QTest::addColumn<bool>("named");
    QTest::newRow("new script, no such folder") << false;
    QTest::newRow("named script become a folder") << true;
}

void TestLoadSave::failedSaveKeepsPathAndBaseline()
{
    QFETCH(bool, named);
    CAppDlg &dlg = m_fx->Open(named ? m_script : QString());
    ToggleSomething();
    const QString target = named ? m_script : m_fx->Path(QStringLiteral("no such folder/new.mbs"));
    if (named)
        QVERIFY(QFile::remove(m_script) && QDir().mkdir(m_script));
    else
        m_fx->ui.fileChoices.push_back(target);
    m_fx->Click(QStringLiteral("Save"));
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QVERIFY(m_fx->ui.messages[0].contains(QFileInfo(target).fileName()));
    QCOMPARE(dlg.ScriptPath(), named ? m_script : QString());
    QVERIFY(dlg.IsScriptModified());
}

void TestLoadSave::changeDetection_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("change"); // made in the tree before the buttons below
    QTest::addColumn<QStringList>("buttons"); // clicked with Action1 selected
    QTest::addColumn<bool>("modified");
    QTest::newRow("untouched") << kScript << "" << QStringList() << false;
    QTest::newRow("keys the tree does not show")
        << QByteArray("[Default]\nOutput Header=Report\\n\n[Action1]\nDisplay Columns=1,2\n"
                      "Add Seconds To Second Dir=3600\nOutput Footer=End\nPath1=C:\\A\n")
        << "" << QStringList() << false;
    QTest::newRow("a value of an action") << kScript << "value" << QStringList() << true;
    QTest::newRow("a check box in Default") << kScript << "default" << QStringList() << true;
    QTest::newRow("Default of a script without actions")
        << QByteArray("[Default]\nSearch_subdir=1\n") << "default" << QStringList() << true;
    QTest::newRow("a move") << kScript << "" << QStringList{"Move &Down"} << true;
    QTest::newRow("a move and back") << kScript << "" << QStringList{"Move &Down", "Move &Up"} << false;
    QTest::newRow("an action repeated and deleted") << kScript << "" << QStringList{"&Repeat Action", "&Delete"} << false;
    QTest::newRow("saved after an edit") << kScript << "value" << QStringList{"Save"} << false;
    // A check that cannot make its temporary file counts as a change.
    QTest::newRow("no temporary file") << kScript << "no temp" << QStringList() << true;
}

void TestLoadSave::changeDetection()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, change);
    QFETCH(QStringList, buttons);
    QFETCH(bool, modified);
    CAppDlg &dlg = m_fx->Open(m_fx->Write(QStringLiteral("detect.mbs"), script));
    QVERIFY(!dlg.IsScriptModified());
    const QByteArray tmp = qgetenv("TMPDIR");
    if (change == u"value")
        m_fx->TypeValue(QStringLiteral("Action1"), QStringLiteral("Source Path: "), QStringLiteral("D:\\Elsewhere"));
    else if (change == u"default")
        m_fx->Toggle(QStringLiteral("Default"), QStringLiteral("Include Subdirectories"));
    else if (change == u"no temp")
        qputenv("TMPDIR", m_script.toLocal8Bit()); // a file, not a folder
    if (m_fx->Root(QStringLiteral("Action1")))
        m_fx->Select(QStringLiteral("Action1")); // ends the editor
    for (const QString &button : buttons)
        m_fx->Click(button);
    const bool isModified = dlg.IsScriptModified();
    qputenv("TMPDIR", tmp);
    QCOMPARE(isModified, modified);
}

void TestLoadSave::valueBeingEditedIsKept_data()
{
    // Every command first commits the value typed in place; the saving ones
    // (Yes to the question) save it.
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("saves");
    QTest::newRow("Enter") << "Enter" << true;
    QTest::newRow("Esc") << "Esc" << true;
    QTest::newRow("window closed") << "close" << true;
    QTest::newRow("Load Script") << "&Load Script" << true;
    QTest::newRow("Repeat Action") << "&Repeat Action" << false;
    QTest::newRow("New Action") << "&New Action" << false;
    QTest::newRow("Show All") << "Show &All" << false;
    QTest::newRow("F1") << "F1" << false;
}

void TestLoadSave::valueBeingEditedIsKept()
{
    QFETCH(QString, command);
    QFETCH(bool, saves);
    CAppDlg &dlg = m_fx->Open(m_script);
    QTreeWidgetItem *mask =
        m_fx->TypeValue(QStringLiteral("Action2"), QStringLiteral("File Mask: "), QStringLiteral("*.doc"));
    QVERIFY(m_fx->Tree().ActiveEdit()->hasFocus());
    QCOMPARE(mask->text(0), QStringLiteral("File Mask")); // the label alone while editing
    const bool asks = saves && command != u"Enter";
    if (asks)
        m_fx->ui.answers.push_back(true);
    if (command == u"&Load Script")
        m_fx->ui.fileChoices.push_back(std::nullopt);
    if (command == u"F1")
        dlg.Help() = CHelpOpener(QStringLiteral("/nonexistent-folder"));
    const QMap<QString, Qt::Key> keys{{"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape}, {"F1", Qt::Key_F1}};
    QWidget *editor = QApplication::focusWidget();
    if (keys.contains(command))
        QTest::keyClick(editor, keys[command]);
    else if (command == u"close")
        dlg.close();
    else if (command == u"&Load Script")
        QTest::keyClick(editor, Qt::Key_L, Qt::AltModifier); // the button clicks a moment later
    else
        m_fx->Click(command);
    QTRY_COMPARE(m_fx->ui.questions.size(), asks ? 1 : 0);
    QVERIFY(!m_fx->Tree().EditItem());
    QCOMPARE(mask->text(0), QStringLiteral("File Mask: *.doc"));
    if (command == u"&Repeat Action")
        QCOMPARE(m_fx->Dump(QStringLiteral("Action3")), m_fx->Dump(QStringLiteral("Action2")));
    QCOMPARE(m_fx->ui.messages.size(), command == u"F1" ? 1 : 0); // help is not there
    QCOMPARE(AppFixture::Read(m_script).contains("[Action2]\r\nPath1=C:\\Photos\r\nPath2=F:\\Photos\r\nMask=*.doc\r\n"),
             saves);
    QCOMPARE(dlg.isVisible(), !asks || command == u"&Load Script");
    QCOMPARE(dlg.IsScriptModified(), !saves);
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
    QVERIFY(unreadable.ScriptPath().isEmpty() && !unreadable.IsScriptModified());
    // Not there: the reader says so, and an empty script with that path, which Save creates.
    const QString missing = m_fx->Path(QStringLiteral("missing.mbs"));
    CAppDlg &empty = m_fx->Open(missing);
    QCOMPARE(m_fx->ui.messages.size(), 2);
    QVERIFY(m_fx->ui.messages[1].contains(missing));
    QCOMPARE(empty.ScriptPath(), missing);
    QCOMPARE(m_fx->Tree().topLevelItemCount(), 0);
    QVERIFY(!empty.IsScriptModified());
    m_fx->Click(QStringLiteral("&New Action"));
    m_fx->Click(QStringLiteral("Save"));
    QVERIFY(AppFixture::Read(missing).startsWith("[Default]\r\n"));
}

void TestLoadSave::invalidDatesAreReportedOnce()
{
    // Told when the user loads the script, not again by change checks and saves.
    const QString path = m_fx->Write(QStringLiteral("dates.mbs"), "[Action1]\nPath1=C:\\A\nMin Date Filter=31/02/2021\n");
    m_fx->Open();
    m_fx->ui.fileChoices.push_back(path);
    m_fx->Click(QStringLiteral("&Load Script"));
    QCOMPARE(m_fx->ui.messages.size(), 1);
    QVERIFY(m_fx->ui.messages[0].contains(QStringLiteral("31/02/2021")));
    QVERIFY(!m_fx->dialog->IsScriptModified());
    m_fx->Select(QStringLiteral("Action1"));
    m_fx->Click(QStringLiteral("&Repeat Action"));
    m_fx->Click(QStringLiteral("Save"));
    m_fx->Click(QStringLiteral("&Delete"));
    m_fx->ui.answers.push_back(true);
    m_fx->Click(QStringLiteral("Close"));
    QCOMPARE(m_fx->ui.questions.size(), 1);
    QCOMPARE(m_fx->ui.messages.size(), 1);
}

void TestLoadSave::wholeEditingRun()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    CTreeOptionsCtrl &tree = m_fx->Tree();
    const QString action1 = QStringLiteral("Action1");
    // A new target path typed in place; Tab takes the keyboard back to the tree.
    m_fx->TypeValue(action1, QStringLiteral("Target Path: "), QStringLiteral("E:\\Mirror"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(tree.hasFocus());
    // The next item is the operation: its list, one entry further down.
    QTest::keyClick(&tree, Qt::Key_Down);
    QVERIFY(tree.currentItem()->text(0).startsWith(QStringLiteral("Operation")));
    QTest::keyClick(&tree, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(tree.currentItem()->text(0),
             QStringLiteral("Operation: Update & Prune Target (update, add new & remove orphans from target)"));
    // A check box of Default toggled by the space bar.
    m_fx->Toggle(QStringLiteral("Default"), QStringLiteral("Include Subdirectories"));

    // A new action below Action2, cut down to its first settings, a source
    // path typed; then moved up above Action2.
    m_fx->Select(QStringLiteral("Action2"));
    QTest::keyClick(&dlg, Qt::Key_N, Qt::AltModifier); // the button clicks a moment later
    QTRY_VERIFY(m_fx->Root(QStringLiteral("Action3")));
    QTreeWidgetItem *added = m_fx->Root(QStringLiteral("Action3"));
    QCOMPARE(tree.currentItem(), added);
    for (const QString &group : {QStringLiteral("Synchronization"), QStringLiteral("Output"), QStringLiteral("Filters")}) {
        m_fx->Select(QStringLiteral("Action3"), group);
        m_fx->Click(QStringLiteral("&Delete"));
    }
    m_fx->TypeValue(QStringLiteral("Action3"), QStringLiteral("Source Path: "), QStringLiteral("C:\\New"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    tree.setCurrentItem(added);
    QTest::keyClick(&dlg, Qt::Key_U, Qt::AltModifier);
    QTRY_COMPARE(added->text(0), QStringLiteral("Action2"));
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));
    QCOMPARE(tree.currentItem(), added);

    // Enter saves and the editor stays.
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(AppFixture::Read(m_script), QByteArray("[Default]\r\nMask=*.*\r\nSearch_subdir=0\r\n\r\n"
                                                    "[Action1]\r\n"
                                                    "Path1=C:\\Data\r\n"
                                                    "Path2=E:\\Mirror\r\n"
                                                    "Operation=4\r\n\r\n"
                                                    "[Action2]\r\n"
                                                    "Path1=C:\\New\r\n"
                                                    "Search_subdir=1\r\n"
                                                    "Operation=6\r\n\r\n"
                                                    "[Action3]\r\n"
                                                    "Path1=C:\\Photos\r\n"
                                                    "Path2=F:\\Photos\r\n"
                                                    "Mask=*.jpg\r\n\r\n"));
    QVERIFY(dlg.isVisible() && !dlg.IsScriptModified());
    m_fx->Click(QStringLiteral("Close"));
    QVERIFY(m_fx->ui.questions.isEmpty());
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(TestLoadSave)
#include "tst_loadsave.moc"
