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
    void commandLineStartLayoutAndKeys();
    void showAll_data();
    void showAll();
    void repeatAction_data();
    void repeatAction();
    void newAction_data();
    void newAction();
    void moves_data();
    void moves();

private:
    std::unique_ptr<AppFixture> m_fx;
    QString m_script;
    const QStringList m_roots{"Default", "Action1", "Action2", "Action3"};
};

void TestAppDlg::init()
{
    m_fx = std::make_unique<AppFixture>();
    m_script = m_fx->Write(QStringLiteral("three.mbs"), "[Default]\nMask=*.*\n"
                                                         "[Action1]\nPath1=C:\\Data\nOperation=3\n"
                                                         "[Action2]\nPath1=C:\\Photos\nSearch_subdir=0\n"
                                                         "[Action3]\nPath1=C:\\Music\n");
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
    // Both completed by Show All (the branch item by item is the writer's tests' business).
    const QString branch = m_fx->Dump(QStringLiteral("Default"));
    QCOMPARE(branch.count(u'\n'), 50);
    QVERIFY(branch.startsWith(u"Source Path:  [11]\n") && branch.endsWith(u"  Reverse Filters [0]\n"));
    QCOMPARE(m_fx->Dump(QStringLiteral("Action1")), branch);
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action1"));
    QCOMPARE(m_fx->Tree().currentItem(), action);
    QVERIFY(action->isExpanded() && m_fx->Root(QStringLiteral("Default"))->isExpanded());
    QVERIFY(m_fx->Button(QStringLiteral("Move &Up"))->isEnabled());
    QVERIFY(!m_fx->Button(QStringLiteral("Move &Down"))->isEnabled());
    QVERIFY(dlg.ScriptPath().isEmpty());
    QVERIFY(!dlg.IsScriptModified());
    QVERIFY(m_fx->ui.messages.isEmpty());
}

void TestAppDlg::commandLineStartLayoutAndKeys()
{
    CAppDlg &dlg = m_fx->Open(m_script);
    QCOMPARE(m_fx->RootNames(), m_roots);
    QCOMPARE(dlg.ScriptPath(), m_script);
    QVERIFY(!dlg.IsScriptModified());
    // Nothing selected by the program: the tree picks its first item when it
    // gets the focus, which the move buttons follow.
    QTreeWidgetItem *current = m_fx->Tree().currentItem();
    QVERIFY(!current || current == m_fx->Tree().topLevelItem(0));
    QCOMPARE(m_fx->Button(QStringLiteral("Move &Up"))->isEnabled(), !current);
    QVERIFY(m_fx->Button(QStringLiteral("Move &Down"))->isEnabled());

    // Tab walks from the tree along the buttons in the template's order (both
    // move buttons enabled for an action in the middle); Save is the default.
    const QStringList texts{"&Repeat Action", "&New Action", "&Delete", "Show &All", "Move &Up",
                            "Move &Down",     "&Load Script", "Save",   "Close"};
    QVERIFY(m_fx->Button(QStringLiteral("Save"))->isDefault());
    m_fx->Tree().setFocus();
    m_fx->Tree().setCurrentItem(m_fx->Root(QStringLiteral("Action2")));
    for (const QString &text : texts) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() == m_fx->Button(text), qPrintable(text));
    }
    // Alt+S, the label's mnemonic, focuses the tree.
    QTest::keyClick(&dlg, Qt::Key_S, Qt::AltModifier);
    QVERIFY(m_fx->Tree().hasFocus());

    // The label above the tree; two rows under it: six buttons, then three
    // under the last three.
    auto *label = dlg.findChild<QLabel *>();
    QCOMPARE(label->text(), QStringLiteral("&Script File Settings"));
    QVERIFY(label->geometry().bottom() < m_fx->Tree().geometry().top());
    auto place = [&](int i) { return m_fx->Button(texts[i])->geometry().topLeft(); };
    QVERIFY(place(0).y() > m_fx->Tree().geometry().bottom());
    for (int i = 1; i < 9; ++i) {
        QCOMPARE(place(i).y() == place(0).y(), i < 6);
        QVERIFY(i < 6 ? place(i).x() > place(i - 1).x() : place(i).x() == place(i - 3).x());
    }
    // 369 x 231 dialog units, grown only as far as the buttons' texts need.
    QCOMPARE(dlg.InitialSize(), CDialogUnits(dlg.font()).Size(369, 231));
    QCOMPARE(dlg.size(), dlg.InitialSize().expandedTo(dlg.minimumSizeHint()));
}

void TestAppDlg::showAll_data()
{
    QTest::addColumn<QStringList>("deleted"); // each selected and deleted alone
    QTest::addColumn<int>("left");            // items left in the branch
    QTest::newRow("bare root") << QStringList{"Source Path", "Target Path", "File Mask", "Include Subdirectories",
                                              "Operation", "Prompted Operation", "Synchronization", "Output",
                                              "Filters"} << 0;
    QTest::newRow("scattered") << QStringList{"File Mask", "Sort By", "Binary Compare Files", "Exclude Files Before"}
                               << 46;
}

void TestAppDlg::showAll()
{
    QFETCH(QStringList, deleted);
    QFETCH(int, left);
    m_fx->Open();
    const QString complete = m_fx->Dump(QStringLiteral("Default"));
    for (const QString &label : deleted) {
        m_fx->Select(QStringLiteral("Action1"), label);
        m_fx->Click(QStringLiteral("&Delete"));
    }
    QTreeWidgetItem *action = m_fx->Root(QStringLiteral("Action1"));
    QCOMPARE(m_fx->Dump(QStringLiteral("Action1")).count(u'\n'), left);
    // With a setting of the action selected (the root when none is left); twice is once.
    m_fx->Tree().setCurrentItem(action->childCount() ? action->child(0) : action);
    for (int i = 0; i < 2; ++i) {
        m_fx->Click(QStringLiteral("Show &All"));
        QCOMPARE(m_fx->Dump(QStringLiteral("Action1")), complete);
    }
    QCOMPARE(m_fx->Dump(QStringLiteral("Default")), complete);
}

void TestAppDlg::repeatAction_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("setting");
    QTest::newRow("a setting of an action") << "Action2" << "Include Subdirectories";
    QTest::newRow("Default") << "Default" << QString();
}

void TestAppDlg::repeatAction()
{
    QFETCH(QString, root);
    QFETCH(QString, setting);
    m_fx->Open(m_script);
    const QString branch = m_fx->Dump(root);
    m_fx->Select(root, setting);
    m_fx->Click(QStringLiteral("&Repeat Action"));
    QCOMPARE(m_fx->RootNames(), m_roots + QStringList{"Action4"});
    // The whole action copied and selected; the source untouched.
    QCOMPARE(m_fx->Dump(QStringLiteral("Action4")), branch);
    QCOMPARE(m_fx->Tree().currentItem(), m_fx->Root(QStringLiteral("Action4")));
    QCOMPARE(m_fx->Dump(root), branch);
    QVERIFY(m_fx->dialog->IsScriptModified());
}

void TestAppDlg::newAction_data()
{
    QTest::addColumn<QString>("deleteFirst");
    QTest::addColumn<QString>("selected"); // empty: nothing selected
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("added");
    QTest::newRow("below the selection, numbered after the highest")
        << QString() << "Action1" << QStringList{"Default", "Action1", "Action4", "Action2", "Action3"} << "Action4";
    QTest::newRow("nothing selected, a Default there")
        << QString() << QString() << QStringList{"Default", "Action1", "Action2", "Action3", "Action4"} << "Action4";
    QTest::newRow("nothing selected, no Default")
        << "Default" << QString() << QStringList{"Action1", "Action2", "Action3", "Default"} << "Default";
}

void TestAppDlg::newAction()
{
    QFETCH(QString, deleteFirst);
    QFETCH(QString, selected);
    QFETCH(QStringList, roots);
    QFETCH(QString, added);
    m_fx->Open(m_script);
    if (!deleteFirst.isEmpty()) {
        m_fx->Select(deleteFirst);
        m_fx->Click(QStringLiteral("&Delete"));
    }
    m_fx->Tree().setCurrentItem(selected.isEmpty() ? nullptr : m_fx->Root(selected));
    if (selected.isEmpty()) { // nothing to move or delete
        QVERIFY(!m_fx->Button(QStringLiteral("Move &Up"))->isEnabled());
        QVERIFY(!m_fx->Button(QStringLiteral("Move &Down"))->isEnabled());
        m_fx->Click(QStringLiteral("&Delete"));
    }
    m_fx->Click(QStringLiteral("&New Action"));
    QCOMPARE(m_fx->RootNames(), roots);
    QTreeWidgetItem *item = m_fx->Root(added);
    QCOMPARE(m_fx->Tree().currentItem(), item);
    QVERIFY(item->isExpanded());
    QCOMPARE(item->childCount(), 9); // completed by Show All
}

void TestAppDlg::moves_data()
{
    QTest::addColumn<QString>("moved"); // a root, or root/setting
    QTest::addColumn<QString>("enabled"); // the move buttons for that selection
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("arrivesAs"); // empty: the button is disabled, nothing moves
    QTest::newRow("up") << "Action2" << "Up Down" << "Move &Up" << "Action1";
    QTest::newRow("down") << "Action2" << "Up Down" << "Move &Down" << "Action3";
    QTest::newRow("up below Default") << "Action1" << "Up Down" << "Move &Up" << "Default";
    QTest::newRow("first up") << "Default" << "Down" << "Move &Up" << QString();
    QTest::newRow("last down") << "Action3" << "Up" << "Move &Down" << QString();
    QTest::newRow("a setting") << "Action2/Source Path" << "" << "Move &Down" << QString();
}

void TestAppDlg::moves()
{
    QFETCH(QString, moved);
    QFETCH(QString, enabled);
    QFETCH(QString, button);
    QFETCH(QString, arrivesAs);
    m_fx->Open(m_script);
    QStringList dumps;
    for (const QString &name : m_roots)
        dumps << m_fx->Dump(name);
    QTreeWidgetItem *selected = m_fx->Select(moved.section(u'/', 0, 0), moved.section(u'/', 1));
    m_fx->Tree().CommitAndEndEdit(); // a value item selected may open its editor
    QCOMPARE(m_fx->Button(QStringLiteral("Move &Up"))->isEnabled(), enabled.contains(u"Up"));
    QCOMPARE(m_fx->Button(QStringLiteral("Move &Down"))->isEnabled(), enabled.contains(u"Down"));
    QTest::mouseClick(m_fx->Button(button), Qt::LeftButton); // a disabled button ignores the click
    if (arrivesAs.isEmpty()) // and so does the command called directly
        button == u"Move &Up" ? m_fx->dialog->OnMoveUp() : m_fx->dialog->OnMoveDown();
    else
        dumps.swapItemsAt(int(m_roots.indexOf(moved)), int(m_roots.indexOf(arrivesAs)));
    // The names stay in place; the settings travel, stay selected and expanded.
    QCOMPARE(m_fx->RootNames(), m_roots);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m_fx->Dump(m_roots[i]), dumps[i]);
    QTreeWidgetItem *current = arrivesAs.isEmpty() ? selected : m_fx->Root(arrivesAs);
    QCOMPARE(m_fx->Tree().currentItem(), current);
    QVERIFY(current->isExpanded() || !current->childCount());
    QCOMPARE(m_fx->dialog->IsScriptModified(), !arrivesAs.isEmpty());
}

QTEST_MAIN(TestAppDlg)
#include "tst_appdlg.moc"
