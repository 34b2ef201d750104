// Find and replace in the editor: the find bar filters the tree, steps through the matches and gives
// the tree back on Esc; Replace changes the checked values of its preview as one undoable step and the
// save changes only their lines.

#include "AppSession.h"
#include "app/FindBar.h"
#include "app/ReplaceDialog.h"
#include "app/TreeFind.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QByteArray kScript = "[Default]\r\nPath1=D:\\Data\r\nMask=*.*\r\n"
                           "[Action1]\r\nPath1=D:\\Data\\in\r\nPath2=E:\\Backup\r\n"
                           "[Action2]\r\nPath2=D:\\Database\r\n"
                           "[Action3]\r\nPath2=e:/backup/b\r\nMask=*.doc\r\n";

QStringList Shown(const QTreeWidget &tree)
{
    QStringList shown;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(&tree), QTreeWidgetItemIterator::NotHidden); *it; ++it) {
        bool visible = true;
        for (const QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
            visible = visible && !up->isHidden() && up->isExpanded();
        if (visible)
            shown << (*it)->text(0);
    }
    return shown;
}

} // namespace

class TestFindReplace : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<AppSession>(); }
    void cleanup() { m_s.reset(); }

    void findFiltersStepsAndEscRestores()
    {
        CAppDlg &dlg = m_s->Open(m_s->Write(kScript));
        CTreeOptionsCtrl &tree = dlg.Tree();
        QTreeWidgetItem *action2 = tree.topLevelItem(2);
        action2->setExpanded(true);
        tree.setFocus();
        tree.setCurrentItem(action2);
        const QStringList before = Shown(tree);

        QTest::keyClick(&tree, Qt::Key_F, Qt::ControlModifier);
        QLineEdit &field = dlg.FindBar().Field();
        QCOMPARE(QApplication::focusWidget(), &field);
        QTest::keyClicks(&field, "E:\\BACKUP");
        QCOMPARE(Shown(tree),
                 QStringList({"Action1", "Target Path: E:\\Backup", "Action3", "Target Path: e:/backup/b"}));
        QCOMPARE(dlg.FindBar().Summary(), QStringLiteral("2 matches in 2 actions"));
        QVERIFY(dlg.FindBar().Find().IsMatch(Find(tree.topLevelItem(3), "Target Path")));
        field.setText("*.doc");
        QCOMPARE(dlg.FindBar().Summary(), QStringLiteral("1 match in 1 action"));
        field.setText("e:/backup");

        QTest::keyClick(&field, Qt::Key_F3);
        QCOMPARE(tree.currentItem(), Find(tree.topLevelItem(1), "Target Path"));
        QTest::keyClick(&field, Qt::Key_F3);
        QCOMPARE(tree.currentItem(), Find(tree.topLevelItem(3), "Target Path"));
        QTest::keyClick(&field, Qt::Key_F3);
        QCOMPARE(tree.currentItem(), Find(tree.topLevelItem(1), "Target Path"));
        QTest::keyClick(&field, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(tree.currentItem(), Find(tree.topLevelItem(3), "Target Path"));

        QTest::keyClick(&field, Qt::Key_Escape);
        QVERIFY(dlg.isVisible() && !dlg.FindBar().isVisible());
        QCOMPARE(Shown(tree), before);
        QCOMPARE(tree.currentItem(), action2);
        QCOMPARE(QApplication::focusWidget(), &tree);

        // Too many rows to show: the branches stay closed, and F3 opens the one it steps into.
        dlg.FindBar().Find().SetOpenRowLimit(3);
        QTest::keyClick(&tree, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(Shown(tree), QStringList({"Action1", "Action3"}));
        QTest::keyClick(&field, Qt::Key_F3);
        QCOMPARE(Shown(tree), QStringList({"Action1", "Target Path", "Action3"})); // its editor open
        QTest::keyClick(&field, Qt::Key_Escape);
        QCOMPARE(Shown(tree), before);

        // Assistive tools read the bar's parts by name.
        QAccessibleInterface *access = QAccessible::queryAccessibleInterface(&field);
        QCOMPARE(access->text(QAccessible::Name), QStringLiteral("Find"));
    }

    void replaceAppliesCheckedChangesAsOneStep()
    {
        const QString path = m_s->Write(kScript);
        CAppDlg &dlg = m_s->Open(path);
        QTest::keyClick(&dlg.Tree(), Qt::Key_H, Qt::ControlModifier);
        auto *replace = dlg.findChild<CReplaceDialog *>();
        QVERIFY(replace && QTest::qWaitForWindowActive(replace));
        QTRY_COMPARE(QApplication::focusWidget(), &replace->FindField());
        QTest::keyClicks(&replace->FindField(), "d:/data");
        QTest::keyClicks(&replace->ReplaceField(), "X:\\Data");
        QCOMPARE(replace->Preview().topLevelItemCount(), 3); // D:\Database too
        QTest::keyClick(&replace->WholeParts(), Qt::Key_Space);
        QTreeWidget &preview = replace->Preview();
        QCOMPARE(preview.topLevelItemCount(), 2);
        const QStringList first = {"Default", "Source Path", "D:\\Data", "X:\\Data", "Action2, Action3"};
        for (int column = 0; column < first.size(); ++column)
            QCOMPARE(preview.topLevelItem(0)->text(column), first[column]);
        QCOMPARE(preview.topLevelItem(1)->text(3), QStringLiteral("X:\\Data\\in"));
        // The rows' boxes, as assistive tools see them.
        QAccessibleInterface *access = QAccessible::queryAccessibleInterface(&preview);
        QCOMPARE(access->text(QAccessible::Name), QStringLiteral("Changes"));
        const QAccessible::State box = access->tableInterface()->cellAt(1, 0)->state();
        QVERIFY(box.checkable && box.checked);
        preview.setFocus();
        preview.setCurrentItem(preview.topLevelItem(1));
        QTest::keyClick(&preview, Qt::Key_Space);
        QCOMPARE(preview.topLevelItem(1)->checkState(0), Qt::Unchecked);
        QTest::mouseClick(&replace->ReplaceButton(), Qt::LeftButton);

        CTreeOptionsCtrl &tree = dlg.Tree();
        QTreeWidgetItem *defaultPath = Find(tree.topLevelItem(0), "Source Path");
        QCOMPARE(defaultPath->text(0), QStringLiteral("Source Path: X:\\Data"));
        QCOMPARE(Find(tree.topLevelItem(1), "Source Path")->text(0), QStringLiteral("Source Path: D:\\Data\\in"));
        QVERIFY(dlg.History().CanUndo() && !dlg.History().IsClean());
        dlg.OnUndo();
        QCOMPARE(defaultPath->text(0), QStringLiteral("Source Path: D:\\Data"));
        QVERIFY(dlg.History().IsClean() && !dlg.History().CanUndo());
        dlg.OnRedo();

        dlg.OnOK();
        QByteArray expected = kScript;
        expected.replace("[Default]\r\nPath1=D:\\Data\r\n", "[Default]\r\nPath1=X:\\Data\r\n");
        QCOMPARE(ReadAll(path), expected);
    }

private:
    std::unique_ptr<AppSession> m_s;
};

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
