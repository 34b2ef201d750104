// Show All as a tree operation: the complete branch, merging into partial
// branches, and idempotence.

#include "script/tree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsDump.h"

#include <QTest>

namespace {

const char *const kCompleteBranch =
    "Action1 [11]\n"
    "  Source Path:  [11]\n"
    "  Target Path:  [11]\n"
    "  File Mask:  [11]\n"
    "  Include Subdirectories [1]\n"
    "  Operation: Produce Compare Report [11]\n"
    "  Prompted Operation [0]\n"
    "  Synchronization [13]\n"
    "    Compare Date/Time [3]\n"
    "    Binary Compare Files [2]\n"
    "    Ignore Whitespace when comparing files [0]\n"
    "    Ignore Case when comparing files [0]\n"
    "    Confirm Updates [1]\n"
    "    Group Related Files for display [0]\n"
    "    Case Sensitive check for file names [0]\n"
    "    Match Duplicates [0]\n"
    "    Overwrite Older Files [1]\n"
    "    Overwrite Newer Files [0]\n"
    "    Use Native File Operations [0]\n"
    "    Time Check Precision:  [11]\n"
    "  Output [13]\n"
    "    Always Show Archives [0]\n"
    "    Show Identical Files [1]\n"
    "    Show Different Files [1]\n"
    "    Show Files in 1 Directory [1]\n"
    "    Sort By: Unsorted [12]\n"
    "    Sort Ascending [1]\n"
    "    Produce Output File:  [11]\n"
    "    Append to output file [1]\n"
    "    Output Columns:  [11]\n"
    "    Show Progress [1]\n"
    "    Display Error Messages [1]\n"
    "    Custom Message:  [11]\n"
    "    Allow Cancel [1]\n"
    "    Bitmap File:  [11]\n"
    "  Filters [13]\n"
    "    Exclude Files Before Date:  [11]\n"
    "    Exclude Files After Date:  [11]\n"
    "    Exclude Files Smaller Than (bytes):  [11]\n"
    "    Exclude Files Larger Than (bytes):  [11]\n"
    "    Exclude Read-Only Files [0]\n"
    "    Exclude Hidden Files [0]\n"
    "    Exclude Directories [0]\n"
    "    Exclude Archive Files [0]\n"
    "    Exclude System Files [0]\n"
    "    Ignore Read-Only Files [1]\n"
    "    Ignore Hidden Files [1]\n"
    "    Ignore Directories [1]\n"
    "    Ignore Archive Files [1]\n"
    "    Ignore System Files [1]\n"
    "    Reverse Filters [0]\n";

// The complete branch with `replace` lines replaced (same index) by the given texts.
QString Expected(const QList<QPair<QString, QString>> &replace)
{
    QString text = QString::fromUtf8(kCompleteBranch);
    for (const auto &[from, to] : replace)
        text.replace(from, to);
    return text;
}

QTreeWidgetItem *Find(QTreeWidgetItem *parent, const QString &text)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    return nullptr;
}

} // namespace

class TestCompleteAction : public QObject
{
    Q_OBJECT
private slots:
    void bareRoot();
    void partialBranches_data();
    void partialBranches();
    void selectedSettingCompletesItsAction();
    void unknownItemEndsMatchingOnItsLevel();
};

void TestCompleteAction::bareRoot()
{
    CTreeOptionsCtrl tree;
    QTreeWidgetItem *root = InsertActionRoot(tree, QStringLiteral("Action1"));
    QVERIFY(!CTreeOptionsCtrl::GetItemInfo(root));
    CompleteAction(tree, root);
    QCOMPARE(TreeOptionsDump(tree), QString::fromUtf8(kCompleteBranch));
    QVERIFY(root->isExpanded());
    QVERIFY(Find(root, QStringLiteral("Filters"))->isExpanded());
    QVERIFY(!Find(root, QStringLiteral("Synchronization"))->isExpanded());
    QVERIFY(!Find(root, QStringLiteral("Output"))->isExpanded());
    // Editors of the value items.
    QCOMPARE(CTreeOptionsCtrl::GetItemInfo(root->child(0))->m_nKind, quint32(kKindEdit));
    QCOMPARE(CTreeOptionsCtrl::GetItemInfo(root->child(4))->m_nKind, quint32(kKindCombo));

    // Twice gives the same tree as once.
    CompleteAction(tree, root);
    QCOMPARE(TreeOptionsDump(tree), QString::fromUtf8(kCompleteBranch));
}

void TestCompleteAction::partialBranches_data()
{
    // A branch built by hand (one line per item: depth by two spaces, the
    // text, a kind letter: e edit, c check, C checked, r radio, R selected
    // radio, g group), and the dump after Show All.
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lacks only Binary Compare Files")
        << "Synchronization g\n  Compare Date/Time R\n" << Expected({});
    QTest::newRow("Binary selected, lacks Compare Date/Time")
        << "Synchronization g\n  Binary Compare Files R\n" << Expected({});
    QTest::newRow("operation keeps its value")
        << "Operation: Update Target (update & add new files to target) e\n"
        << Expected({{"Operation: Produce Compare Report", "Operation: Update Target (update & add new files to target)"}});
    QTest::newRow("existing states are kept")
        << "Include Subdirectories c\nOutput g\n  Sort By: CRC32 e\n  Append to output file c\n"
        << Expected({{"Include Subdirectories [1]", "Include Subdirectories [0]"},
                     {"Sort By: Unsorted [12]", "Sort By: CRC32 [11]"},
                     {"Append to output file [1]", "Append to output file [0]"}});
    QTest::newRow("no groups")
        << "Source Path: C:\\x e\nPrompted Operation C\n"
        << Expected({{"Source Path:  [11]", "Source Path: C:\\x [11]"}, {"Prompted Operation [0]", "Prompted Operation [1]"}});
}

void TestCompleteAction::partialBranches()
{
    QFETCH(QString, branch);
    QFETCH(QString, expected);
    CTreeOptionsCtrl tree;
    QTreeWidgetItem *root = InsertActionRoot(tree, QStringLiteral("Action1"));
    QList<QTreeWidgetItem *> parents{root};
    for (const QString &line : branch.split(u'\n', Qt::SkipEmptyParts)) {
        const int depth = int(line.indexOf(QRegularExpression(QStringLiteral("\\S")))) / 2;
        const QString text = line.mid(depth * 2, line.size() - depth * 2 - 2);
        const QChar kind = line.back();
        QTreeWidgetItem *parent = parents[depth];
        QTreeWidgetItem *item = nullptr;
        if (kind == u'g')
            item = tree.AddGroupItem(text, 13, parent);
        else if (kind == u'c' || kind == u'C')
            item = tree.AddCheckBoxItem(text, parent, kind == u'C');
        else if (kind == u'r' || kind == u'R')
            item = tree.AddRadioItem(text, parent, kind == u'R');
        else
            item = tree.InsertItem(text, 11, parent);
        parents.resize(depth + 1);
        parents.append(item);
    }
    CompleteAction(tree, root);
    QCOMPARE(TreeOptionsDump(tree), expected);
}

void TestCompleteAction::selectedSettingCompletesItsAction()
{
    CTreeOptionsCtrl tree;
    InsertActionRoot(tree, QStringLiteral("Default"));
    QTreeWidgetItem *action = InsertActionRoot(tree, QStringLiteral("Action1"));
    QTreeWidgetItem *group = tree.AddGroupItem(QStringLiteral("Output"), 13, action);
    QTreeWidgetItem *box = tree.AddCheckBoxItem(QStringLiteral("Show Progress"), group, false);
    CompleteAction(tree, box);
    QCOMPARE(tree.topLevelItem(0)->childCount(), 0);
    QCOMPARE(TreeOptionsDump(tree, nullptr).section(u'\n', 1),
             Expected({{"Show Progress [1]", "Show Progress [0]"}}));
}

void TestCompleteAction::unknownItemEndsMatchingOnItsLevel()
{
    // Every later row of the level goes in before the unknown item; the item
    // ends up after the level's complete set, and twice equals once.
    CTreeOptionsCtrl tree;
    QTreeWidgetItem *root = InsertActionRoot(tree, QStringLiteral("Action1"));
    tree.InsertItem(QStringLiteral("Stray"), 11, root);
    CompleteAction(tree, root);
    QCOMPARE(root->childCount(), 10);
    QCOMPARE(root->child(9)->text(0), QStringLiteral("Stray"));
    const QString once = TreeOptionsDump(tree);
    CompleteAction(tree, root);
    QCOMPARE(TreeOptionsDump(tree), once);
}

QTEST_MAIN(TestCompleteAction)
#include "tst_completeaction.moc"
