// The overview: every action's values in effect side by side; a value typed or picked in selected cells is set
// in each of their actions as one undoable edit; Save Table As writes what `mbscript dump --csv` prints.

#include "AppSession.h"
#include "ProgramRun.h"
#include "app/FindBar.h"
#include "app/OverviewModel.h"
#include "app/OverviewWindow.h"
#include "app/ScriptInsight.h"
#include "app/SettingItems.h"
#include "script/SettingFields.h"

#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

namespace {

const QByteArray kScript = "[Default]\r\nOperation=3\r\nMask=*.doc\r\n"
                           "[Action1]\r\nPath1=C:\\Data\r\nPath2=D:\\Copy\r\nMask=*.txt\r\n"
                           "[Action2]\r\nPath1=C:\\Mail, \"old\"\r\nPath2=E:\\Mail\r\nOperation=1\r\n"
                           "[Action3]\r\nPath1=C:\\Photos\r\nPath2=E:\\Photos\r\n"
                           "[Action4]\r\nPath1=C:\\Music\r\nPath2=E:\\Music\r\n";

} // namespace

class TestOverview : public QObject
{
    Q_OBJECT
    std::unique_ptr<AppSession> m_s;
    QString m_path;

    COverviewWindow &Overview() { return m_s->dialog->Overview(); }
    QTableView &Table() { return Overview().Table(); }
    int Column(const QString &key)
    {
        for (int column = 0; column < Table().model()->columnCount(); ++column)
            if (Table().model()->headerData(column, Qt::Horizontal).toString() == key)
                return column;
        return -1;
    }
    // The overview opened by its key, showing the script as checked now.
    void OpenOverview()
    {
        m_path = m_s->Write(kScript);
        m_s->Open(m_path);
        m_s->dialog->Insight().Checker().CheckNow();
        QTest::keyClick(m_s->dialog.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(QTest::qWaitForWindowActive(&Overview()));
        QTRY_COMPARE(QApplication::focusWidget(), &Table());
    }

private slots:
    void init() { m_s = std::make_unique<AppSession>(); }
    void cleanup() { m_s.reset(); }

    void bulkEditOfThreeActions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");   // into a line, or the list's entry picked
        QTest::addColumn<QString>("shown");   // the value in effect after it
        QTest::addColumn<QByteArray>("line"); // the line each action then holds
        QTest::newRow("typed") << "Mask"
                               << "*.log"
                               << "*.log" << QByteArray("Mask=*.log\r\n");
        QTest::newRow("picked") << "Operation"
                                << "Synchronize Both (update & add new files both directions)"
                                << "Synchronize Both (update & add new files both directions)"
                                << QByteArray("Operation=0\r\n");
    }
    void bulkEditOfThreeActions()
    {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, line);
        OpenOverview();
        COverviewModel &model = Overview().Model();
        const int column = Column(key);
        auto values = [&](int row) {
            QStringList texts;
            for (int c = 0; c < model.columnCount(); ++c)
                texts << (c == column ? QString() : model.Value(row, c).value);
            return texts;
        };
        const QStringList action3Before = values(2);
        // The first three rows of the column selected by the keyboard, the value entered once.
        Table().setCurrentIndex(Table().model()->index(0, column));
        QTest::keyClick(&Table(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&Table(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&Table(), Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        if (auto *list = qobject_cast<QComboBox *>(editor))
            list->setCurrentIndex(list->findText(typed));
        else
            QTest::keyClicks(editor, typed, Qt::NoModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(m_s->dialog->History().CanUndo());
        m_s->dialog->Insight().Checker().CheckNow();

        for (int row = 0; row < 3; ++row) {
            QCOMPARE(model.Value(row, column).value, shown);
            QCOMPARE(model.index(row, column).data(Qt::FontRole).value<QFont>().bold(), true);
        }
        QVERIFY(model.Value(3, column).value != shown);
        // Action3 gained the setting and nothing else changed in what it does.
        QCOMPARE(values(2), action3Before);
        m_s->dialog->OnOK();
        const QByteArray saved = ReadAll(m_path);
        QCOMPARE(saved.count(line), 3);
        QVERIFY(saved.contains("[Action3]\r\nPath1=C:\\Photos\r\nPath2=E:\\Photos\r\n"
                               + (key == "Mask" ? line : QByteArray())));

        // One step undoes all three, by the key in the overview.
        QTest::keyClick(&Table(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!m_s->dialog->History().CanUndo());
        m_s->dialog->Insight().Checker().CheckNow();
        QCOMPARE(model.Value(2, column).value, key == "Mask" ? QStringLiteral("*.doc") : model.Value(3, column).value);
    }

    void refusedValueChangesNothing()
    {
        OpenOverview();
        Overview().Apply(Table().model()->index(0, Column(QStringLiteral("Time Check Precision"))),
                         QStringLiteral("x"));
        QCOMPARE(m_s->ui.messages.size(), 1);
        QVERIFY(m_s->ui.messages[0].startsWith(QStringLiteral("Time Check Precision: \"x\" is not a whole number")));
        QVERIFY(!m_s->dialog->History().CanUndo());
    }

    void tableAsCsvIsTheDump()
    {
        OpenOverview();
        const QString csv = m_s->dir.filePath(QStringLiteral("table.csv"));
        m_s->ui.fileChoices.push_back(csv);
        Overview().SaveTableAs();
        const ProgramRun dump =
            RunProgram(QStringLiteral(MBSCRIPT_PATH), {QStringLiteral("dump"), QStringLiteral("--csv"), m_path});
        QCOMPARE(dump.exitCode, 0);
        QCOMPARE(ReadAll(csv), dump.out);
        QVERIFY(dump.out.startsWith("Action,Path1,Path2,Mask,Search_subdir,Operation,"));
        QVERIFY(dump.out.contains("\r\nAction2,\"C:\\Mail, \"\"old\"\"\",E:\\Mail,*.doc,"));
    }

    void filterSortShowAndRead()
    {
        OpenOverview();
        QAbstractItemModel &table = *Table().model();
        // The find bar's text filters the rows, either slash alike; closing the bar shows them all.
        m_s->dialog->FindBar().Open();
        QTest::keyClicks(&m_s->dialog->FindBar().Field(), QStringLiteral("e:/"));
        QCOMPARE(table.rowCount(), 3);
        m_s->dialog->FindBar().Close();
        QCOMPARE(table.rowCount(), 4);
        const int path1 = Column(QStringLiteral("Path1"));
        Table().sortByColumn(path1, Qt::DescendingOrder);
        QCOMPARE(table.headerData(0, Qt::Vertical).toString(), QStringLiteral("Action3"));

        // The row's header names the action for assistive tools; a cell reads as shown, marked when it differs.
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&Table());
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Overview"));
        QAccessibleTableInterface *grid = iface->tableInterface();
        QVERIFY(grid);
        QAccessibleInterface *cell = grid->cellAt(0, path1);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("\u25CF C:\\Photos"));
        const QList<QAccessibleInterface *> headers = cell->tableCellInterface()->rowHeaderCells();
        QCOMPARE(headers.value(0)->text(QAccessible::Name), QStringLiteral("Action3"));
        // The toolkit makes each header cell anew and keeps it nowhere: given to its
        // cache, it is freed with the others instead of leaking.
        for (QAccessibleInterface *header : headers)
            if (!QAccessible::uniqueId(header))
                QAccessible::registerAccessibleInterface(header);

        // Enter shows the setting in the tree.
        Table().setCurrentIndex(table.index(0, path1));
        QTest::keyClick(&Table(), Qt::Key_Return);
        QCOMPARE(m_s->dialog->Tree().currentItem(),
                 CSettingItems::Find(m_s->dialog->Tree(), QStringLiteral("Action3"), QStringLiteral("Path1")));
    }
};

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
