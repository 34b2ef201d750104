// The editor dialog end to end: start-up, layout and keyboard, Show All and
// the action commands, driven by clicks and keys on the offscreen platform.

#include "AppFixture.h"

#include "app/DialogUnits.h"

#include <QLabel>

class TestAppDlg : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newScriptStart();
    void commandLineStart();
    void layoutAndTabOrder();
    void mnemonicsAndKeys();

    void showAllCompletesBranch_data();
    void showAllCompletesBranch();
    void showAllKeepsValuesAndRadio();

    void repeatAction_data();
    void repeatAction();
    void newAction_data();
    void newAction();
    void deleteRemovesOnlyTheSelection();
    void moves_data();
    void moves();
    void moveButtonsFollowSelection();
    void commandsCommitTheOpenEditor_data();
    void commandsCommitTheOpenEditor();

private:
    std::unique_ptr<AppFixture> m_fx;
    QString m_script;
};

void TestAppDlg::init()
{
    m_fx = std::make_unique<AppFixture>();
    m_script = m_fx->Write(QStringLiteral("three.mbs"), "[Default]\n"
                                                         "Mask=*.*\n"
                                                         "[Action1]\n"
                                                         "Path1=C:\\Data\n"
                                                         "Operation=3\n"
                                                         "[Action2]\n"
                                                         "Path1=C:\\Photos\n"
                                                         "Search_subdir=0\n"
                                                         "[Action3]\n"
                                                         "Path1=C:\\Music\n");
}

void TestAppDlg::cleanup()
{
    const QStringList unexpected = m_fx->ui.unexpected;
    m_fx.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u", ")));
}

void TestAppDlg::newScriptStart()
{
    CAppDlg &dlg = m_fx->Open();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Script Editor"));
    QVERIFY(!dlg.windowIcon().isNull());
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1"}));
    QCOMPARE(m_fx->Dump(QStringLiteral("Default")), CompleteBranchDump());
    QCOMPARE(m_fx->Dump(QStringLiteral("Action1")), CompleteBranchDump());
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action1"));
    QCOMPARE(m_fx->Tree().currentItem(), action);
    QVERIFY(action->isExpanded());
    QVERIFY(m_fx->Root(QStringLiteral("Default"))->isExpanded());
    QVERIFY(m_fx->Find(m_fx->Root(QStringLiteral("Default")), QStringLiteral("Filters"))->isExpanded());
    QVERIFY(!m_fx->Find(m_fx->Root(QStringLiteral("Default")), QStringLiteral("Output"))->isExpanded());
    QVERIFY(m_fx->Button(QStringLiteral("Move &Up"))->isEnabled());
    QVERIFY(!m_fx->Button(QStringLiteral("Move &Down"))->isEnabled());
    QVERIFY(dlg.ScriptPath().isEmpty());
    QVERIFY(!dlg.IsScriptModified());
    QVERIFY(m_fx->ui.messages.isEmpty());
}

void TestAppDlg::commandLineStart()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));
    QCOMPARE(dlg.ScriptPath(), m_script);
    QVERIFY(!dlg.IsScriptModified());
    // No item selected by the program: the tree picks its first item when it
    // gets the focus, which the move buttons follow.
    QTreeWidgetItem *current = m_fx->Tree().currentItem();
    QVERIFY(!current || current == m_fx->Tree().topLevelItem(0));
    QCOMPARE(m_fx->Button(QStringLiteral("Move &Up"))->isEnabled(), !current);
    QVERIFY(m_fx->Button(QStringLiteral("Move &Down"))->isEnabled());
}

void TestAppDlg::layoutAndTabOrder()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    const QStringList texts{"&Repeat Action", "&New Action", "&Delete", "Show &All", "Move &Up",
                            "Move &Down",     "&Load Script", "Save",   "Close"};
    QVERIFY(m_fx->Button(QStringLiteral("Save"))->isDefault());
    // Tab walks from the tree along the buttons in the template's order
    // (both move buttons enabled for an action in the middle).
    m_fx->Tree().setFocus();
    m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action2")));
    for (const QString &text : texts) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() == m_fx->Button(text),
                 qPrintable(text + QStringLiteral(" expected, focus on ")
                            + qobject_cast<QPushButton *>(QApplication::focusWidget())->text()));
    }

    // Two rows under the tree: six buttons, then three under the last three.
    auto top = [&](const QString &text) { return m_fx->Button(text)->geometry().top(); };
    auto left = [&](const QString &text) { return m_fx->Button(text)->geometry().left(); };
    QVERIFY(top(texts[0]) > m_fx->Tree().geometry().bottom());
    for (int i = 1; i < 6; ++i) {
        QCOMPARE(top(texts[i]), top(texts[0]));
        QVERIFY(left(texts[i]) > left(texts[i - 1]));
    }
    for (int i = 6; i < 9; ++i) {
        QVERIFY(top(texts[i]) > top(texts[0]));
        QCOMPARE(left(texts[i]), left(texts[i - 3]));
    }
    auto *label = dlg.findChild<QLabel *>();
    QCOMPARE(label->text(), QStringLiteral("&Script File Settings"));
    QVERIFY(label->geometry().bottom() < m_fx->Tree().geometry().top());

    const CDialogUnits units(dlg.font());
    QCOMPARE(dlg.InitialSize(), units.Size(369, 231));
    // Grown only as far as the buttons' texts need.
    QCOMPARE(dlg.size(), dlg.InitialSize().expandedTo(dlg.minimumSizeHint()));
    dlg.resize(dlg.width() + 200, dlg.height() + 100);
    QTRY_COMPARE(m_fx->Tree().height() > 0, true);
    QCOMPARE(m_fx->Button(QStringLiteral("Close"))->geometry().right() > dlg.InitialSize().width(), true);
}

void TestAppDlg::mnemonicsAndKeys()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    m_fx->Button(QStringLiteral("Close"))->setFocus();
    QTest::keyClick(&dlg, Qt::Key_S, Qt::AltModifier);
    QVERIFY(m_fx->Tree().hasFocus());

    // Alt+N is New Action.
    m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action3")));
    QTest::keyClick(&dlg, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3", "Action4"}));

    // Enter saves and the dialog stays; Esc closes through the Close path,
    // which asks because of the new action.
    m_fx->Tree().setFocus();
    QTest::keyClick(&m_fx->Tree(), Qt::Key_Return);
    QVERIFY(dlg.isVisible());
    QVERIFY(m_fx->ui.questions.isEmpty());
    QVERIFY(AppFixture::Read(m_script).contains("[Action4]\r\n"));
    QTest::keyClick(&m_fx->Tree(), Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestAppDlg::showAllCompletesBranch_data()
{
    QTest::addColumn<QStringList>("deleted");
    QTest::newRow("bare root") << QStringList{"Source Path", "Target Path", "File Mask", "Include Subdirectories",
                                              "Operation", "Prompted Operation", "Synchronization", "Output",
                                              "Filters"};
    QTest::newRow("one radio") << QStringList{"Binary Compare Files"};
    QTest::newRow("every group") << QStringList{"Synchronization", "Output", "Filters"};
    QTest::newRow("scattered") << QStringList{"File Mask", "Sort By", "Reverse Filters", "Exclude Files Before"};
}

void TestAppDlg::showAllCompletesBranch()
{
    QFETCH(QStringList, deleted);
    m_fx->Open();
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action1"));
    for (const QString &label : deleted) {
        m_fx->Tree().setCurrentItem(AppFixture::Find(action, label));
        m_fx->Click(QStringLiteral("&Delete"));
    }
    QCOMPARE(action->childCount() < 9 || deleted.size() < 9, true);
    // With a setting of the action selected (or the root when none is left).
    m_fx->Tree().setCurrentItem(action->childCount() ? action->child(0) : action);
    m_fx->Click(QStringLiteral("Show &All"));
    QCOMPARE(m_fx->Dump(QStringLiteral("Action1")), CompleteBranchDump());
    m_fx->Click(QStringLiteral("Show &All"));
    QCOMPARE(m_fx->Dump(QStringLiteral("Action1")), CompleteBranchDump());
    QCOMPARE(m_fx->Dump(QStringLiteral("Default")), CompleteBranchDump());
}

void TestAppDlg::showAllKeepsValuesAndRadio()
{
    m_fx->Open(m_script);
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action1"));
    m_fx->Tree().setCurrentItem(action);
    m_fx->Click(QStringLiteral("Show &All"));
    QCOMPARE(AppFixture::Find(action, QStringLiteral("Operation: "))->text(0),
             QStringLiteral("Operation: Update Target (update & add new files to target)"));
    QCOMPARE(AppFixture::Find(action, QStringLiteral("Source Path: "))->text(0), QStringLiteral("Source Path: C:\\Data"));
    QVERIFY(action->isExpanded());

    // "Binary Compare Files" selected, "Compare Date/Time" missing: it comes
    // back first and selected.
    QTreeWidgetItem *binary = AppFixture::Find(action, QStringLiteral("Binary Compare Files"));
    binary->parent()->setExpanded(true);
    m_fx->Tree().SelectRadioItem(binary);
    m_fx->Tree().setCurrentItem(AppFixture::Find(action, QStringLiteral("Compare Date/Time")));
    m_fx->Click(QStringLiteral("&Delete"));
    m_fx->Tree().setCurrentItem(binary);
    m_fx->Click(QStringLiteral("Show &All"));
    QTreeWidgetItem *group = binary->parent();
    QCOMPARE(group->child(0)->text(0), QStringLiteral("Compare Date/Time"));
    QCOMPARE(CTreeOptionsCtrl::GetItemImage(group->child(0)), 3);
    QCOMPARE(CTreeOptionsCtrl::GetItemImage(binary), 2);
    QCOMPARE(group->child(1), binary);
}

void TestAppDlg::repeatAction_data()
{
    QTest::addColumn<QString>("selectedRoot");
    QTest::addColumn<QString>("selectedSetting");
    QTest::newRow("an action") << "Action2" << QString();
    QTest::newRow("a setting of an action") << "Action2" << "Include Subdirectories";
    QTest::newRow("Default") << "Default" << QString();
}

void TestAppDlg::repeatAction()
{
    QFETCH(QString, selectedRoot);
    QFETCH(QString, selectedSetting);
    m_fx->Open(m_script);
    QTreeWidgetItem *root = m_fx->Root(selectedRoot);
    const QString branch = m_fx->Dump(selectedRoot);
    m_fx->Tree().setCurrentItem(selectedSetting.isEmpty() ? root : AppFixture::Find(root, selectedSetting));
    m_fx->Click(QStringLiteral("&Repeat Action"));
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3", "Action4"}));
    QCOMPARE(m_fx->Dump(QStringLiteral("Action4")), branch);
    QCOMPARE(m_fx->Tree().currentItem(), m_fx->Root(QStringLiteral("Action4")));
    // The copy is a script change; the source is untouched.
    QCOMPARE(m_fx->Dump(selectedRoot), branch);
    QVERIFY(m_fx->dialog->IsScriptModified());
}

void TestAppDlg::newAction_data()
{
    QTest::addColumn<QString>("deleteFirst");
    QTest::addColumn<QStringList>("selections"); // one New Action each; empty: nothing selected
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("added");
    QTest::newRow("below the selection, numbered after the highest")
        << QString() << QStringList{"Action1"} << QStringList{"Default", "Action1", "Action4", "Action2", "Action3"}
        << "Action4";
    QTest::newRow("highest number not last")
        << QString() << QStringList{"Action1", "Action3"}
        << QStringList{"Default", "Action1", "Action4", "Action2", "Action3", "Action5"} << "Action5";
    QTest::newRow("nothing selected, a Default there")
        << QString() << QStringList{QString()} << QStringList{"Default", "Action1", "Action2", "Action3", "Action4"}
        << "Action4";
    QTest::newRow("nothing selected, no Default")
        << "Default" << QStringList{QString()} << QStringList{"Action1", "Action2", "Action3", "Default"}
        << "Default";
}

void TestAppDlg::newAction()
{
    QFETCH(QString, deleteFirst);
    QFETCH(QStringList, selections);
    QFETCH(QStringList, roots);
    QFETCH(QString, added);
    m_fx->Open(m_script);
    if (!deleteFirst.isEmpty()) {
        m_fx->Tree().setCurrentItem(m_fx->Root(deleteFirst));
        m_fx->Click(QStringLiteral("&Delete"));
    }
    for (const QString &selected : selections) {
        m_fx->Tree().setCurrentItem(selected.isEmpty() ? nullptr : m_fx->Root(selected));
        m_fx->Click(QStringLiteral("&New Action"));
    }
    QCOMPARE(m_fx->RootNames(), roots);
    QTreeWidgetItem *item = m_fx->Tree().topLevelItem(int(roots.indexOf(added)));
    QCOMPARE(m_fx->Tree().currentItem(), item);
    QCOMPARE(TreeOptionsDump(m_fx->Tree(), item), CompleteBranchDump());
    QVERIFY(item->isExpanded());
}

void TestAppDlg::deleteRemovesOnlyTheSelection()
{
    m_fx->Open(m_script);
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action2"));
    QCOMPARE(m_fx->Dump(QStringLiteral("Action2")),
             QStringLiteral("Source Path: C:\\Photos [11]\nInclude Subdirectories [0]\n"));
    m_fx->Tree().setCurrentItem(AppFixture::Find(action, QStringLiteral("Include Subdirectories")));
    m_fx->Click(QStringLiteral("&Delete"));
    m_fx->Tree().CommitAndEndEdit(); // the selection may have moved onto the path and opened its editor
    QCOMPARE(m_fx->Dump(QStringLiteral("Action2")), QStringLiteral("Source Path: C:\\Photos [11]\n"));
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));

    // Nothing selected: nothing happens.
    m_fx->Tree().setCurrentItem(nullptr);
    m_fx->Click(QStringLiteral("&Delete"));
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));
}

void TestAppDlg::moves_data()
{
    QTest::addColumn<QString>("moved");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("arrivesAs");
    QTest::addColumn<QString>("displacedTo");
    QTest::newRow("up") << "Action2" << "Move &Up" << "Action1" << "Action2";
    QTest::newRow("down") << "Action2" << "Move &Down" << "Action3" << "Action2";
    QTest::newRow("up below Default") << "Action1" << "Move &Up" << "Default" << "Action1";
    QTest::newRow("first up") << "Default" << "Move &Up" << QString() << QString();
    QTest::newRow("last down") << "Action3" << "Move &Down" << QString() << QString();
}

void TestAppDlg::moves()
{
    QFETCH(QString, moved);
    QFETCH(QString, button);
    QFETCH(QString, arrivesAs);
    QFETCH(QString, displacedTo);
    m_fx->Open(m_script);
    QStringList before;
    for (const QString &name : m_fx->RootNames())
        before << m_fx->Dump(name);
    const QString branch = m_fx->Dump(moved);
    QTreeWidgetItem *root = m_fx->Root(moved);
    root->setExpanded(true);
    m_fx->Tree().setCurrentItem(root);
    QTest::mouseClick(m_fx->Button(button), Qt::LeftButton); // a disabled button ignores the click
    m_fx->Tree().setFocus();
    QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));
    if (arrivesAs.isEmpty()) {
        QCOMPARE(m_fx->Tree().currentItem(), root);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(m_fx->Dump(m_fx->RootNames()[i]), before[i]);
        m_fx->dialog->OnMoveUp(); // called directly, still nothing
        m_fx->dialog->OnMoveDown();
        QCOMPARE(m_fx->RootNames(), QStringList({"Default", "Action1", "Action2", "Action3"}));
        return;
    }
    // The names stay in place; the settings travel, stay selected and expanded.
    QCOMPARE(m_fx->Dump(arrivesAs), branch);
    QCOMPARE(m_fx->Dump(displacedTo), before[int(m_fx->RootNames().indexOf(arrivesAs))]);
    QCOMPARE(m_fx->Tree().currentItem(), m_fx->Root(arrivesAs));
    QVERIFY(m_fx->Root(arrivesAs)->isExpanded());
    QVERIFY(m_fx->dialog->IsScriptModified());
}

void TestAppDlg::moveButtonsFollowSelection()
{
    m_fx->Open(m_script);
    QPushButton *up = m_fx->Button(QStringLiteral("Move &Up"));
    QPushButton *down = m_fx->Button(QStringLiteral("Move &Down"));
    struct Case
    {
        QTreeWidgetItem *item;
        bool up, down;
    };
    QTreeWidgetItem *action2 = m_fx->Root(QStringLiteral("Action2"));
    const Case cases[] = {
        {m_fx->Root(QStringLiteral("Default")), false, true},
        {action2, true, true},
        {action2->child(0), false, false},
        {m_fx->Root(QStringLiteral("Action3")), true, false},
        {nullptr, false, false},
    };
    for (const Case &c : cases) {
        m_fx->Tree().setCurrentItem(c.item);
        QCOMPARE(up->isEnabled(), c.up);
        QCOMPARE(down->isEnabled(), c.down);
    }
    // By keyboard: Up from Action3 reaches Action2, in the middle.
    m_fx->Tree().setFocus();
    m_fx->Tree().collapseAll();
    m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action3")));
    QTest::keyClick(&m_fx->Tree(), Qt::Key_Up);
    QCOMPARE(m_fx->Tree().currentItem(), action2);
    QVERIFY(up->isEnabled() && down->isEnabled());
    // A group selected by keyboard disables both.
    m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action1")));
    m_fx->Click(QStringLiteral("Show &All"));
    m_fx->Tree().setCurrentItem(AppFixture::Find(m_fx->Root(QStringLiteral("Action1")), QStringLiteral("Output")));
    QVERIFY(!up->isEnabled() && !down->isEnabled());
}

void TestAppDlg::commandsCommitTheOpenEditor_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Repeat Action") << "&Repeat Action";
    QTest::newRow("New Action") << "&New Action";
    QTest::newRow("Show All") << "Show &All";
    QTest::newRow("F1") << "F1";
}

void TestAppDlg::commandsCommitTheOpenEditor()
{
    QFETCH(QString, command);
    m_fx->Open(m_script);
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action2"));
    action->setExpanded(true);
    QTreeWidgetItem *path = AppFixture::Find(action, QStringLiteral("Source Path: "));
    m_fx->TypeValue(path, QStringLiteral("D:\\Pictures"));
    QCOMPARE(path->text(0), QStringLiteral("Source Path")); // the label alone while editing
    if (command == u"F1") {
        m_fx->dialog->Help() = CHelpOpener(QStringLiteral("/nonexistent-folder"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(m_fx->ui.messages.size(), 1);
        QVERIFY(m_fx->ui.messages[0].contains(QStringLiteral("/nonexistent-folder/marrowpad.chm")));
    } else {
        m_fx->Click(command);
    }
    QVERIFY(!m_fx->Tree().EditItem());
    bool found = false;
    for (int i = 0; i < m_fx->Tree().topLevelItemCount(); ++i)
        if (TreeOptionsDump(m_fx->Tree(), m_fx->Tree().topLevelItem(i)).contains(u"Source Path: D:\\Pictures [11]"))
            found = true;
    QVERIFY(found);
    QVERIFY(!m_fx->Dump(QStringLiteral("Action2")).contains(u"Source Path [11]"));
}

QTEST_MAIN(TestAppDlg)
#include "tst_appdlg.moc"
