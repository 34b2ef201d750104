// The problems list and the values in effect: they follow edits, lead to the item a problem names, and
// say what each setting of an action is in effect, in the pane and in its tooltip.

#include "AppSession.h"
#include "TestLocale.h"
#include "app/ProblemsPane.h"
#include "app/ScriptInsight.h"
#include "app/SettingItems.h"
#include "app/ValuesPane.h"
#include "script/SettingFields.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>

class TestInsight : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { UseBritishDates("UTC"); }
    void init() { m_s = std::make_unique<AppSession>(); }
    void cleanup() { m_s.reset(); }

    void editShowsProblemAndReversalClearsIt()
    {
        Open("[Default]\r\nMask=*.doc\r\n[Action1]\r\nPath1=C:\\Data\r\nPath2=E:\\Backup\r\n");
        QTRY_VERIFY(Insight().Checker().Latest());
        QVERIFY(!Insight().Problems().isVisible());
        QVERIFY(!Insight().ProblemsButton()->isChecked());

        // The tree as Save would write it counts, a value still in its editor too; the file stays clean.
        QTreeWidgetItem *target = TypeValue(QStringLiteral("Path2"), QStringLiteral("c:/data/"), false);
        Insight().Checker().CheckNow();
        QTRY_VERIFY(Insight().Problems().isVisible());
        QCOMPARE(Tree().EditSession().Item(), target);
        QVERIFY(Insight().Problems().Count() == 1 && ProblemText(0, 1) == u"Action1");
        QVERIFY(ProblemText(0, 0).contains(QLatin1String("same folder")));
        QVERIFY(Insight().ProblemsButton()->isChecked());

        Tree().setFocus();
        QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(target->text(0).endsWith(QLatin1String("E:\\Backup")));
        QTRY_VERIFY(!Insight().Problems().isVisible());
        QCOMPARE(Insight().Problems().Count(), 0);

        // The button shows and hides the list while there are problems.
        TypeValue(QStringLiteral("Path1"), QStringLiteral("E:\\Backup\\In"));
        QTRY_VERIFY(Insight().Problems().isVisible());
        QTest::mouseClick(Insight().ProblemsButton(), Qt::LeftButton);
        QVERIFY(!Insight().Problems().isVisible());
        QTest::mouseClick(Insight().ProblemsButton(), Qt::LeftButton);
        QVERIFY(Insight().Problems().isVisible());
        QCOMPARE(QApplication::focusWidget(), &ProblemList());
    }

    void activatingProblemSelectsItsItem_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("byKey");       // F8, else Enter on the list's entry
        QTest::addColumn<QString>("selected"); // the current item's text afterwards
        const QByteArray two = "[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\n[Action2]\r\nPath1=C:\\c\r\nPath2=D:\\d\r\n"
                               "Search_subdir=1\r\nOperation=12\r\n";
        QTest::newRow("F8 to the item") << two << true << "Operation";
        QTest::newRow("Enter on the entry") << two << false << "Operation";
        QTest::newRow("inherited key: the root")
            << QByteArray("[Action1]\r\nPath1=C:\\a\r\nMask=*.txt\r\n") << true << "Action1";
    }

    void activatingProblemSelectsItsItem()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, byKey);
        Open(script);
        QTRY_VERIFY(Insight().Problems().isVisible());
        Tree().setCurrentItem(Tree().topLevelItem(0));
        if (byKey) {
            QTest::keyClick(m_s->dialog.get(), Qt::Key_F8);
        } else {
            ProblemList().setFocus();
            ProblemList().setCurrentIndex(ProblemList().model()->index(0, 0));
            QTest::keyClick(ProblemList().viewport(), Qt::Key_Return);
            QCOMPARE(ReadAll(m_s->dialog->Script().Path()), script); // Enter jumped, and saved nothing
        }
        QTreeWidgetItem *current = Tree().currentItem();
        QVERIFY(current);
        QFETCH(QString, selected);
        QVERIFY2(current->text(0).startsWith(selected), qPrintable(current->text(0)));
        QVERIFY(Tree().visualItemRect(current).intersects(Tree().viewport()->rect()));
    }

    void valuesInEffect()
    {
        Open("[Default]\r\nMask=*.doc\r\nSearch_subdir=1\r\nOperation=3\r\n"
             "[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\nMask=*.txt\r\nSearch_subdir=1\r\n");
        QTRY_VERIFY(Insight().Checker().Latest());
        Tree().setCurrentItem(nullptr);
        QVERIFY(!Insight().Values().isVisible());
        QTreeWidgetItem *mask = CSettingItems::Find(Tree(), QStringLiteral("Action1"), QStringLiteral("Mask"));
        Tree().setCurrentItem(mask);
        QVERIFY(Insight().Values().isVisible());
        QCOMPARE(Insight().Values().Section(), QStringLiteral("Action1"));

        // Setting -> (value, origin, marked).
        QMap<QString, QStringList> rows;
        const QTreeWidget &list = Insight().Values().List();
        QCOMPARE(list.topLevelItemCount(), kSettingFieldCount);
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            const QTreeWidgetItem *row = list.topLevelItem(i);
            QString name = row->text(0);
            const bool marked = name.startsWith(QStringLiteral("\u25CF "));
            QCOMPARE(row->font(1).bold(), marked);
            rows[marked ? name.mid(2) : name] = {row->text(1), row->text(2), marked ? "marked" : ""};
        }
        QCOMPARE(rows["Mask"], (QStringList{"*.txt", "this action", "marked"}));
        QCOMPARE(rows["Search_subdir"], (QStringList{"on", "this action", ""}));
        QCOMPARE(rows["Operation"], (QStringList{"Update Target (update & add new files to target)", "Default", ""}));
        QCOMPARE(rows["Time Check Precision"], (QStringList{"3", "built-in", ""}));

        // Each setting item's tooltip says the same for its setting, after the guide's summary of it.
        Tree().scrollToItem(mask);
        const QPoint at = Tree().visualItemRect(mask).center();
        QHelpEvent event(QEvent::ToolTip, at, Tree().viewport()->mapToGlobal(at));
        QApplication::sendEvent(Tree().viewport(), &event);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Which file names the action takes.\nIn effect: *.txt (from this "
                                                      "action); this action overrides Default's value"));
        QTreeWidgetItem *subdir =
            CSettingItems::Find(Tree(), QStringLiteral("Action1"), QStringLiteral("Search_subdir"));
        QCOMPARE(Insight().ValueInEffectText(subdir), QStringLiteral("In effect: on (from this action)"));
        QCOMPARE(Insight().ValueInEffectText(Tree().topLevelItem(0)), QString());

        // An edit shows in the pane once checked.
        TypeValue(QStringLiteral("Mask"), QStringLiteral("*.doc"));
        QTRY_COMPARE(Insight().Values().List().topLevelItem(2)->text(0), QStringLiteral("Mask"));
        QCOMPARE(Insight().ValueInEffectText(mask), QStringLiteral("In effect: *.doc (from this action)"));

        // The button hides the pane; a root outside any action shows nothing.
        QTest::mouseClick(Insight().ValuesButton(), Qt::LeftButton);
        QVERIFY(!Insight().Values().isVisible());
        QTest::mouseClick(Insight().ValuesButton(), Qt::LeftButton);
        QVERIFY(Insight().Values().isVisible());
        // Enter there belongs to the list: the edit is not saved.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(m_s->dialog->isWindowModified() && QApplication::focusWidget() == &Insight().Values().List());
    }

    void assistiveToolsReadThePanes()
    {
        Open("[Action1]\r\nPath1=C:\\a\r\nPath2=C:\\a\r\nMask=*.txt\r\nColour=red\r\n");
        QTRY_VERIFY(Insight().Problems().isVisible());
        auto name = [](QObject *object, int child = -1) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
            return (child < 0 ? iface : iface->child(child))->text(QAccessible::Name);
        };
        QCOMPARE(name(&Tree()), QStringLiteral("Script File Settings"));
        QCOMPARE(name(&Tree(), 0), QStringLiteral("Setting")); // the column header
        QCOMPARE(name(&ProblemList()), QStringLiteral("Problems"));
        // Each row's first cell says what its icon shows: the same folder twice is an error, the unknown key a warning.
        const int columns = ProblemList().model()->columnCount();
        for (int row = 0; row < 2; ++row) {
            const QString text = ProblemText(row, 0);
            const bool error = text.contains(QLatin1String("same folder"));
            QCOMPARE(name(&ProblemList(), (row + 1) * columns),
                     QString::fromLatin1(error ? "Error: " : "Warning: ") + text);
        }
        QCOMPARE(name(&Insight().Values().List()), QStringLiteral("Values in effect"));
        Tree().setFocus();
        Tree().setCurrentItem(CSettingItems::Find(Tree(), QStringLiteral("Action1"), QStringLiteral("Mask")));
        QCOMPARE(QAccessible::queryAccessibleInterface(&Tree())->focusChild()->text(QAccessible::Description),
                 QStringLiteral("Which file names the action takes."));
    }

    void ignoreFromTheList_data()
    {
        QTest::addColumn<bool>("wholeScript");
        QTest::addColumn<QByteArray>("saved"); // how the saved script starts
        QTest::newRow("in this action") << false
                                        << QByteArray("; old note\r\n[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\n"
                                                      "Mask=*.pdf *.docx\r\n; mbscript: ignore mask-form\r\n");
        QTest::newRow("in this script") << true
                                        << QByteArray("; old note\r\n; mbscript: ignore mask-form\r\n[Action1]\r\n");
    }

    void ignoreFromTheList()
    {
        QFETCH(bool, wholeScript);
        const QString path =
            m_s->Write("; old note\r\n[Action1]\r\nPath1=C:\\a\r\nPath2=D:\\b\r\nMask=*.pdf *.docx\r\n");
        m_s->Open(path);
        QTRY_COMPARE(Insight().Problems().Count(), 1);
        // The problem names its section and setting, not a line of text the user does not see.
        QCOMPARE(ProblemText(0, 1) + u'|' + ProblemText(0, 2), QStringLiteral("Action1|File Mask"));
        QVERIFY(!ProblemText(0, 0).contains(QLatin1String("line")));

        // The menu key on the entry, then the entry's mnemonic.
        ProblemList().setFocus();
        ProblemList().setCurrentIndex(ProblemList().model()->index(0, 0));
        QTimer::singleShot(0, this, [wholeScript] {
            if (QWidget *menu = QApplication::activePopupWidget())
                QTest::keyClick(menu, wholeScript ? Qt::Key_S : Qt::Key_A);
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
        QApplication::sendEvent(ProblemList().viewport(), &event);
        QTRY_COMPARE(Insight().Problems().Count(), 0);

        // One edit: undone, the problem is back; redone and saved, the line is in the file.
        m_s->dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_s->dialog.get()));
        Tree().setFocus();
        QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(Insight().Problems().Count(), 1);
        QTest::keyClick(&Tree(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(Insight().Problems().Count(), 0);
        QTest::keyClick(&Tree(), Qt::Key_S, Qt::ControlModifier);
        QFETCH(QByteArray, saved);
        QVERIFY(ReadAll(path).startsWith(saved));
        // Saving again keeps one copy of the line.
        QTest::keyClick(&Tree(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadAll(path).count("ignore"), 1);
    }

private:
    CAppDlg &Open(const QByteArray &script) { return m_s->Open(m_s->Write(script)); }
    CTreeOptionsCtrl &Tree() const { return m_s->dialog->Tree(); }
    CScriptInsight &Insight() const { return m_s->dialog->Insight(); }
    QTreeView &ProblemList() const { return Insight().Problems().List(); }
    QString ProblemText(int row, int column) const
    {
        return ProblemList().model()->index(row, column).data().toString();
    }
    // Types `value` over the value of Action1's item showing `key`; leaves the editor unless `commit` is false.
    QTreeWidgetItem *TypeValue(const QString &key, const QString &value, bool commit = true) const
    {
        QTreeWidgetItem *item = ::TypeValue(Tree(), CSettingItems::Find(Tree(), QStringLiteral("Action1"), key), value);
        if (commit)
            Tree().CommitAndEndEdit();
        return item;
    }

    std::unique_ptr<AppSession> m_s;
};

QTEST_MAIN(TestInsight)
#include "tst_insight.moc"
