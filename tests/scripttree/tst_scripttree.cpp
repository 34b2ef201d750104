// The script in the options tree and back: builder, Show All, writer, and the rewriter.

#include "TestFiles.h"
#include "TestLocale.h"
#include "TreeSearch.h"
#include "bench/ScriptGenerator.h"
#include "framework/ScriptedModalUi.h"
#include "script/SettingCatalogue.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptRewriter.h"
#include "scripttree/ScriptTree.h"
#include "scripttree/ScriptTreeRoles.h"
#include "scripttree/ScriptWriter.h"
#include "scripttree/SettingSetter.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsDump.h"
#include "treeoptions/TreeOptionsImages.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include <ctime>
#include <functional>

namespace {

// A script on disk, loaded into a document and an options tree, written back.
struct Fixture
{
    QString Path(const QString &name) const { return dir.filePath(name); }
    int Load(const QByteArray &bytes)
    {
        return LoadScriptWithTree(document, dir.Write(bytes, QStringLiteral("in.mbs")), tree);
    }
    QByteArray Save(const QString &name = QStringLiteral("out.mbs"))
    {
        return WriteScript(document, Path(name), tree) ? ReadAll(Path(name)) : QByteArray("<failed>");
    }
    QTreeWidgetItem *Root(const QString &name) const { return tree.findItems(name, Qt::MatchExactly).value(0); }

    CSynchArray document;
    CTreeOptionsCtrl tree;
    TemporaryFolder dir;
};

// `text` with LF turned into CR LF, in the ANSI code page.
QByteArray Ansi(QString text)
{
    text.replace(QRegularExpression(QStringLiteral("\r?\n")), QStringLiteral("\r\n"));
    return CScriptGenerator::Encode(text, ScriptEncoding::Ansi);
}

// Builds the items of a tree dump, the last one returned: a group, an
// enabled check box or radio button as its image says, any other a plain item.
QTreeWidgetItem *Build(CTreeOptionsCtrl &tree, const QString &dump)
{
    static const QRegularExpression line(QStringLiteral("^( *)(.*) \\[(\\d+)\\]$"),
                                         QRegularExpression::MultilineOption);
    QList<QTreeWidgetItem *> parents{nullptr};
    QTreeWidgetItem *item = nullptr;
    for (auto it = line.globalMatch(dump); it.hasNext();) {
        const auto match = it.next();
        const qsizetype depth = match.capturedLength(1) / 2;
        const QString text = match.captured(2);
        const int image = match.captured(3).toInt();
        item = image == kImageGroup ? tree.AddGroupItem(text, kImageGroup, parents[depth])
               : image == kImageBox || image == kImageBoxTicked
                   ? tree.AddCheckBoxItem(text, parents[depth], image == kImageBoxTicked)
               : image == kImageRadio || image == kImageRadioOn
                   ? tree.AddRadioItem(text, parents[depth], image == kImageRadioOn)
                   : tree.InsertItem(text, image, parents[depth]);
        parents.resize(depth + 1);
        parents.append(item);
    }
    return item;
}

// A bare action after Show All, as the table of settings has it: its labels
// under their headings, in a new script's states.
QString CompleteBranch()
{
    QString out = QStringLiteral("Action1 [11]\n");
    SettingGroup open = SettingGroup::None;
    for (const SettingField &field : SettingFields()) {
        if (field.group != open && field.group != SettingGroup::None)
            out += QStringLiteral("  %1 [13]\n").arg(QString::fromUtf16(GroupLabel(field.group)));
        open = field.IsShown() ? field.group : open;
        const qint64 state = field.initial;
        for (int box = 0; box < field.BoxCount(); ++box) {
            QString item = field.Label(box);
            int image = kImageText;
            switch (field.type) {
            case SettingKind::Check:
                image = state != 0 ? kImageBoxTicked : kImageBox;
                break;
            case SettingKind::Mask:
                image = (state & field.boxes[size_t(box)].bit) != 0 ? kImageBoxTicked : kImageBox;
                break;
            case SettingKind::Radio:
                image = (state != 0) == (box == 1) ? kImageRadioOn : kImageRadio;
                break;
            case SettingKind::Operation: // the list, then its box
                if (box == 0)
                    item += OperationNameForCode(int(state));
                else
                    image = state < 0 ? kImageBoxTicked : kImageBox;
                break;
            case SettingKind::Sort:
                item += SortNameForCode(int(state));
                image = kImageList;
                break;
            default:
                break;
            }
            out +=
                QStringLiteral("%1%2 [%3]\n").arg(field.group == SettingGroup::None ? "  " : "    ", item).arg(image);
        }
    }
    return out;
}

// The key of the setting `item` shows (its longest label that starts its text).
QString KeyOf(const QTreeWidgetItem *item)
{
    if (item->text(0) == PromptedOperationText())
        return QStringLiteral("Operation");
    const SettingRow *best = nullptr;
    for (const SettingRow &row : SettingCatalogue())
        if (row.kind != SettingKind::Group && item->text(0).startsWith(QString::fromUtf16(row.label))
            && (!best || QStringView(row.label).size() > QStringView(best->label).size()))
            best = &row;
    return best ? QString::fromUtf16(best->key) : QString();
}

// The lines of `text` but those of section `name` whose key `drop` says.
QStringList LinesWithout(const QByteArray &text, const QString &name, const std::function<bool(const QString &)> &drop)
{
    QStringList kept;
    bool in = false;
    for (const QString &line : QString::fromLatin1(text).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u'[') && line.contains(u']'))
            in = line.mid(1, line.indexOf(u']') - 1).compare(name, Qt::CaseInsensitive) == 0;
        else if (in && line.contains(u'=') && drop(line.section(u'=', 0, 0).toLower()))
            continue;
        kept << line;
    }
    return kept;
}

} // namespace

class TestScriptTree : public QObject
{
    Q_OBJECT
    ScriptedModalUi m_ui;

private slots:
    void initTestCase()
    {
        UseBritishDates(kCentralEurope);
        SetModalUi(&m_ui);
    }

    void init() { m_ui.messages.clear(); }

    void layouts_data()
    {
        // The lines of a section, and the branch built from them ("Default" and an action alike).
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("branch");
        QTest::newRow("Operation -4")
            << "Operation=-4"
            << "Operation: Refresh Target (update only existing files in target) [12]\nPrompted Operation [1]\n";
        QTest::newRow("Operation -1") << "Operation=-1"
                                      << "Operation: Always Prompt [12]\nPrompted Operation [1]\n";
        QTest::newRow("Operation 12") << "Operation=12"
                                      << "Operation:  [12]\nPrompted Operation [0]\n";
        QTest::newRow("Sort 7") << "Sort Compare=7"
                                << "Output [13]\n  Sort By:  [12]\n";
        QTest::newRow("Check Same Size 2")
            << "Check Same Size Files=2"
            << "Synchronization [13]\n  Compare Date/Time [2]\n  Binary Compare Files [3]\n";
        QTest::newRow("Skip mask 20")
            << "Skip Files Mask=20"
            << "Filters [13]\n  Exclude Read-Only Files [0]\n  Exclude Hidden Files [0]\n  Exclude Directories [1]\n"
               "  Exclude Archive Files [0]\n  Exclude System Files [1]\n";
        QTest::newRow("64-bit sizes") << "Max Size Filter=123456789012345\nMin Size Filter=-9000000000"
                                      << "Filters [13]\n  Exclude Files Smaller Than (bytes): -9000000000 [11]\n"
                                         "  Exclude Files Larger Than (bytes): 123456789012345 [11]\n";
        QTest::newRow("invalid date as found") << "Min Date Filter=31/02/20x"
                                               << "Filters [13]\n  Exclude Files Before Date: 31/02/20x [11]\n";
        QTest::newRow("flag 5, precision text, order of the file ignored")
            << "Time Check Precision=-2x\nSearch_subdir=5\nPath2=D:\\b\nKey=Value"
            << "Target Path: D:\\b [11]\nInclude Subdirectories [1]\nSynchronization [13]\n  Time Check Precision: -2 "
               "[11]\n";
    }

    void layouts()
    {
        QFETCH(QString, lines);
        QFETCH(QString, branch);
        Fixture fixture;
        QCOMPARE(fixture.Load(Ansi("[Default]\n" + lines + "\n[Action1]\n" + lines + "\n")), 1);
        branch.replace(QRegularExpression(QStringLiteral("^(.)"), QRegularExpression::MultilineOption),
                       QStringLiteral("  \\1"));
        QCOMPARE(TreeOptionsDump(fixture.tree), "Default [11]\n" + branch + "Action1 [11]\n" + branch);
        QCOMPARE(m_ui.messages.isEmpty(), !lines.contains(u"20x"));
    }

    void roundTrip_data()
    {
        // A generated script saved and read back gives the same records, tree and bytes. With Show
        // All, branches cut down and edited at random (odd values in half the "Default"s) are
        // completed on every root, which changes no record.
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("showAll");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
            if (seed <= 5)
                QTest::addRow("seed %u", seed) << seed << false;
            QTest::addRow("seed %u, Show All", seed) << seed << true;
        }
    }

    void roundTrip()
    {
        QFETCH(quint32, seed);
        QFETCH(bool, showAll);
        QString text = CScriptGenerator(seed).Generate(showAll ? 30 : 60);
        if (showAll && seed % 2)
            text.replace("[Default]\r\n",
                         "[Default]\r\nOperation=12\r\nSkip Files Mask=288\r\nCheck Same Size Files=2\r\n");
        Fixture first;
        const int count = first.Load(Ansi("; generated\r\n" + text + "[Options]\r\nColour=red\r\n"));
        QVERIFY(count > (showAll ? 20 : 50));
        QRandomGenerator random(seed);
        QList<QTreeWidgetItem *> leaves;
        for (QTreeWidgetItemIterator it(&first.tree); showAll && *it; ++it)
            if ((*it)->parent() && (*it)->childCount() == 0)
                leaves.append(*it);
        for (QTreeWidgetItem *leaf : leaves) {
            const int dice = random.bounded(8);
            bool state = false;
            if (dice < 2)
                delete leaf;
            else if (dice == 2 && CTreeOptionsCtrl::GetCheckState(leaf, state))
                first.tree.ToggleCheckBranch(leaf, state);
            else if (dice == 2 && CTreeOptionsCtrl::IsRadioItem(leaf))
                first.tree.SelectRadioItem(leaf);
        }
        const QByteArray written = first.Save();
        Fixture second;
        QCOMPARE(second.Load(written), count);
        Fixture after;
        if (showAll) {
            for (int i = 0; i < first.tree.topLevelItemCount(); ++i)
                CompleteAction(first.tree, first.tree.topLevelItem(i));
            QCOMPARE(after.Load(first.Save("after.mbs")), count);
        }
        const Fixture &same = showAll ? after : first; // the records second must hold
        QVERIFY(same.document.m_Default.IsEqual(second.document.m_Default));
        for (int i = 0; i < count; ++i)
            QVERIFY2(same.document.GetAt(i)->IsEqual(*second.document.GetAt(i)), qPrintable(QString::number(i)));
        if (showAll)
            return;
        QCOMPARE(TreeOptionsDump(second.tree), TreeOptionsDump(first.tree));
        for (int i = 0; i < first.tree.topLevelItemCount(); ++i)
            QCOMPARE(RootLinesOf(second.tree.topLevelItem(i)), RootLinesOf(first.tree.topLevelItem(i)));
        QCOMPARE(second.Save(), written);
    }

    void oneEditChangesItsLines_data()
    {
        // A generated script, one setting of one section edited through the tree (or Show All on
        // it): the save differs from the script in that setting's lines alone, and says what the
        // tree says (as the catalogue-ordered writer writes it).
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("edit");
        for (const QString edit : {"value", "box", "radio", "list", "delete", "show all"})
            for (quint32 seed = 1; seed <= 6; ++seed)
                QTest::newRow(qPrintable(QStringLiteral("%1, seed %2").arg(edit).arg(seed))) << seed << edit;
    }

    void oneEditChangesItsLines()
    {
        QFETCH(quint32, seed);
        QFETCH(QString, edit);
        const auto IsBox = [](const QTreeWidgetItem *item) {
            const CTreeOptionsItemInfo *info = item ? CTreeOptionsCtrl::GetItemInfo(item) : nullptr;
            return info && info->m_nKind == kKindCheckBox;
        };
        const QByteArray script = Ansi("; generated\n" + CScriptGenerator(seed).Generate(20) + "[Options]\nx=1\n");
        Fixture fixture;
        QVERIFY(fixture.Load(script) > 10);
        QRandomGenerator random(seed);
        QList<QTreeWidgetItem *> items;
        for (QTreeWidgetItemIterator it(&fixture.tree); *it; ++it) {
            const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(*it);
            const bool fits = edit == u"value"    ? info && info->m_nKind == kKindEdit
                              : edit == u"box"    ? IsBox(*it) && (*it)->childCount() == 0 && !IsBox((*it)->parent())
                              : edit == u"radio"  ? CTreeOptionsCtrl::GetItemImage(*it) == 2
                              : edit == u"list"   ? info && info->m_nKind == kKindCombo
                              : edit == u"delete" ? (*it)->childCount() == 0 && (*it)->parent()
                                                  : !(*it)->parent();
            if (fits)
                items << *it;
        }
        QVERIFY(!items.isEmpty());
        QTreeWidgetItem *item = items[random.bounded(int(items.size()))];
        QTreeWidgetItem *root = item;
        while (root->parent())
            root = root->parent();
        const QString section = root->text(0);
        const QString key = KeyOf(item).toLower();
        bool checked = false;
        if (edit == u"value")
            CTreeOptionsCtrl::SetItemValueText(item, QStringLiteral("E%1").arg(random.generate()));
        else if (edit == u"box" && CTreeOptionsCtrl::GetCheckState(item, checked))
            fixture.tree.ToggleCheckBranch(item, checked);
        else if (edit == u"radio")
            fixture.tree.SelectRadioItem(item);
        else if (edit == u"list")
            CTreeOptionsCtrl::SetItemValueText(item, item->text(0).startsWith(u"Operation")
                                                         ? OperationTexts()[random.bounded(9)]
                                                         : SortTexts()[random.bounded(7)]);
        else if (edit == u"delete")
            delete item;
        else
            CompleteAction(fixture.tree, root);
        const QByteArray saved = fixture.Save();
        QSet<QString> had;
        LinesWithout(script, section, [&](const QString &k) { return had.insert(k), false; });
        const auto drop = [&](const QString &k) { return edit == u"show all" ? !had.contains(k) : k == key; };
        QCOMPARE(LinesWithout(saved, section, drop), LinesWithout(script, section, drop));
        // The same records as the tree written in catalogue order.
        SetScriptLayout(fixture.tree.invisibleRootItem(), nullptr);
        Fixture kept, ordered;
        QCOMPARE(kept.Load(saved), ordered.Load(fixture.Save("ordered.mbs")));
        QVERIFY(kept.document.m_Default.IsEqual(ordered.document.m_Default));
        for (int i = 0; i < kept.document.GetSize(); ++i)
            QVERIFY(kept.document.GetAt(i)->IsEqual(*ordered.document.GetAt(i)));
    }

    void complete_data()
    {
        // Action1's branch before Show All under a bare "Default", and the lines of the complete
        // branch that differ ("line => line"): initial states for a new script, else built-in defaults.
        QTest::addColumn<bool>("newScript");
        QTest::addColumn<QString>("branch");
        QTest::addColumn<QStringList>("changed");
        const QStringList builtIn{
            "File Mask:  [11]\n => File Mask: *.* [11]\n",
            "Time Check Precision:  [11] => Time Check Precision: 3 [11]",
            "Produce Compare Report [11]\n  Prompted Operation [0] => Always Prompt [11]\n  Prompted Operation [1]",
            "Always Show Archives [0] => Always Show Archives [1]",
            "Append to output file [1] => Append to output file [0]",
            "Display Error Messages [1] => Display Error Messages [0]"};
        QTest::newRow("bare root of a new script") << true << QString() << QStringList();
        QTest::newRow("bare root") << false << QString() << builtIn;
        // The pair is written as its selected button shows it.
        QTest::newRow("Binary selected, lacks Compare Date/Time")
            << false << "  Synchronization [13]\n    Binary Compare Files [3]\n"
            << builtIn
                   + QStringList{"Compare Date/Time [3]\n    Binary Compare Files [2] => "
                                 "Compare Date/Time [2]\n    Binary Compare Files [3]"};
        // A mask with boxes shown writes the missing ones as clear.
        QTest::newRow("part of a mask")
            << false << "  Filters [13]\n    Ignore Directories [0]\n"
            << builtIn
                   + QStringList{"Ignore Read-Only Files [1]\n    Ignore Hidden Files [1]\n    Ignore Directories [1]\n"
                                 "    Ignore Archive Files [1]\n    Ignore System Files [1] => "
                                 "Ignore Read-Only Files [0]\n    Ignore Hidden Files [0]\n    Ignore Directories [0]\n"
                                 "    Ignore Archive Files [0]\n    Ignore System Files [0]"};
        QTest::newRow("existing values and states are kept")
            << false
            << "  Source Path: C:\\x [11]\n  Include Subdirectories [0]\n"
               "  Operation: Update Target (update & add new files to target) [11]\n  Prompted Operation [1]\n"
               "  Output [13]\n    Sort By: CRC32 [11]\n    Append to output file [0]\n"
            << builtIn.mid(0, 2) + builtIn.mid(3)
                   + QStringList{"Source Path:  [11] => Source Path: C:\\x [11]",
                                 "Include Subdirectories [1] => Include Subdirectories [0]",
                                 "Produce Compare Report => Update Target (update & add new files to target)",
                                 "Prompted Operation [0] => Prompted Operation [1]",
                                 "Sort By: Unsorted [12] => Sort By: CRC32 [11]"};
        QTest::newRow("unknown item ends up after its level")
            << false << "  Stray [11]\n"
            << builtIn + QStringList{"Reverse Filters [0]\n => Reverse Filters [0]\n  Stray [11]\n"};
        // A prompt without its Operation was never written: it becomes the inserted one's.
        QTest::newRow("a prompt without its Operation") << false << "  Prompted Operation [0]\n" << builtIn;
    }

    void complete()
    {
        QFETCH(bool, newScript);
        QFETCH(QString, branch);
        QFETCH(QStringList, changed);
        QString expected = "Default [11]\n" + CompleteBranch();
        for (const QString &change : changed)
            expected.replace(change.section(" => ", 0, 0), change.section(" => ", 1));
        const CompletionValues values = newScript ? CompletionValues::Initial : CompletionValues::Inherited;
        CTreeOptionsCtrl tree;
        // Show All on the last item of the branch completes the action it is in.
        QTreeWidgetItem *last = Build(tree, "Default [11]\nAction1 [11]\n" + branch);
        QTreeWidgetItem *root = tree.topLevelItem(1);
        CompleteAction(tree, last, values);
        QCOMPARE(TreeOptionsDump(tree), expected);
        QVERIFY(root->isExpanded() && Find(root, "Filters")->isExpanded() && !Find(root, "Output")->isExpanded());
        QVERIFY(!branch.isEmpty()
                || (CTreeOptionsCtrl::GetItemInfo(root->child(0))->m_nKind == kKindEdit
                    && CTreeOptionsCtrl::GetItemInfo(root->child(4))->m_nKind == kKindCombo));
        CompleteAction(tree, root, values); // twice is once
        QCOMPARE(TreeOptionsDump(tree), expected);
    }

    void everySetting_data()
    {
        // Each setting alone, and all in reverse order, with values other than the built-in defaults.
        QTest::addColumn<int>("index"); // -1: all
        QTest::newRow("all, in reverse order") << -1;
        for (int i = 0; i < kSettingFieldCount; ++i)
            QTest::newRow(qPrintable(SettingFields()[size_t(i)].Key())) << i;
    }

    void everySetting()
    {
        // A setting loads into its own member alone, shows its items under its heading and is
        // written back as it was, or, without the script's layout, in the table's order, unshown
        // lines after the shown ones.
        QFETCH(int, index);
        QStringList lines, shown, kept;
        for (int i = kSettingFieldCount - 1; i >= 0; --i) {
            const SettingField &field = SettingFields()[size_t(i)];
            const QString value = field.kind == FieldKind::Date ? QStringLiteral("05/01/2009")
                                  : field.IsText()              ? QStringLiteral("x")
                                                                : QString::number(field.builtIn ^ 1);
            if (index < 0 || i == index) {
                lines << field.Key() + u'=' + value;
                field.IsShown() ? shown.prepend(lines.last()) : kept.append(lines.last());
            }
        }
        Fixture fixture;
        const QByteArray script = Ansi("[Action1]\n" + lines.join(u'\n') + "\n");
        QCOMPARE(fixture.Load(script), 1);
        QCOMPARE(fixture.Save(), script);
        SetScriptLayout(fixture.tree.invisibleRootItem(), nullptr); // as resave --normalize writes
        QCOMPARE(fixture.Save(), Ansi("[Action1]\n" + (shown + kept).join(u'\n') + "\n\n"));
        if (index < 0)
            return;
        const SettingField &field = SettingFields()[size_t(index)];
        for (const SettingField &other : SettingFields())
            QCOMPARE(other.Equal(*fixture.document.GetAt(0), CSynchSettings()), &other != &field);
        QTreeWidgetItem *items = fixture.Root(QStringLiteral("Action1"));
        if (field.IsShown() && field.group != SettingGroup::None) {
            QCOMPARE(items->childCount(), 1);
            items = items->child(0);
            QCOMPARE(items->text(0), QString::fromUtf16(GroupLabel(field.group)));
        }
        QCOMPARE(items->childCount(), field.BoxCount());
        for (int box = 0; box < field.BoxCount(); ++box)
            QVERIFY(items->child(box)->text(0).startsWith(field.Label(box)));
        // Show All on an action inheriting it writes what "Default" shows: it does what it did.
        Fixture inherits, after;
        QCOMPARE(inherits.Load(Ansi("[Default]\n" + lines.first() + "\n[Action1]\n")), 1);
        CompleteAction(inherits.tree, inherits.Root(QStringLiteral("Action1")));
        QCOMPARE(after.Load(inherits.Save()), 1);
        QVERIFY(after.document.GetAt(0)->IsEqual(*inherits.document.GetAt(0)));
    }

    void resave_data()
    {
        // A script, edits made in the tree and the text saved. An edit is a verb and "Root/label prefix=value":
        // toggle, set, add (a setting by key), select, delete (an item or a root), stray (an unknown item put before),
        // move (a root below the next, renumbered), repeat (a root as a new one at the end), new (a bare root first) or
        // save (then read back into the document, as the dialog does).
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("saved");
        const QString odd = "[Action1]\nPath1=\nSearch_subdir=5\nOperation=12\nCheck Same Size Files=2\n"
                            "Time Check Precision=abc\nSort Compare=7\nMin Date Filter=31/02/20x\n"
                            "Max Size Filter=12kb\nSkip Files Mask=288\n\n";
        QTest::newRow("untouched values as read") << odd << QStringList() << odd;
        QTest::newRow("changed items, a mask keeps unknown bits")
            << odd << QStringList{"toggle Action1/Exclude Hidden", "select Action1/Compare Date"}
            << QString(odd).replace("Mask=288", "Mask=290").replace("Size Files=2", "Size Files=0");
        QTest::newRow("a mask with its high bit")
            << "[Action1]\nSkip Files Mask=-1\n"
            << QStringList{"toggle Action1/Exclude Hidden"} << "[Action1]\nSkip Files Mask=-3\n";
        QTest::newRow("toggled back is untouched")
            << odd << QStringList{"toggle Action1/Include", "toggle Action1/Include"} << odd;
        const QString kept =
            "; before\n\n[default]extra\n@=d\nMask=*\nmask=dead\nDisplay Columns=A\n# note\n[Options]\nx=1\n; c\n"
            "[Action1]\nOutput Header=\\t\nPath1=a\n[Action07]\nPath1=b\n[Default]\nMask=dead\n[ACTION1]\nPath1=dead\n";
        QTest::newRow("keys, comments, sections and duplicates kept") << kept << QStringList() << kept;
        // A removed setting takes its dead duplicates; a duplicate section stays dead only behind its own.
        QTest::newRow("edits among them")
            << kept << QStringList{"delete Default/File Mask", "delete Action1"}
            << "; before\n\n[default]extra\n@=d\nDisplay Columns=A\n# note\n[Options]\nx=1\n; c\n"
               "[Action07]\nPath1=b\n[Default]\nMask=dead\n";
        QTest::newRow("lines travel with their action")
            << "[Action1]\n@=one\nMask=*.one\nUnknown=1\n[Action2]\nMask=*.two\n"
            << QStringList{"move Action1", "set Action2/File Mask=*.uno", "repeat Action2=Action3", "delete Action1",
                           "new Action1"}
            << "[Action1]\n\n[Action2]\n@=one\nMask=*.uno\nUnknown=1\n[Action3]\n@=one\nMask=*.uno\nUnknown=1\n\n";
        QTest::newRow("edits after a save") << "; top\n[Action1]\nShow progress=7\nAllow Cancel=3\nX=1\n[Other]\ny=2\n"
                                            << QStringList{"save", "toggle Action1/Allow Cancel"}
                                            << "; top\n[Action1]\nShow progress=7\nAllow Cancel=0\nX=1\n[Other]\ny=2\n";
        QTest::newRow("an added setting goes after the nearest before it, or first")
            << "[Default]\n[Action1]\n; c\nPath2=b\n; d\nOperation=3\n[Action2]\n; only this\n"
            << QStringList{"add Action1/Confirm Updates=1", "add Action1/Mask=*.x", "add Action1/Path1=a"}
            << "[Default]\n[Action1]\nPath1=a\n; c\nPath2=b\nMask=*.x\n; d\nOperation=3\nConfirm "
               "Updates=1\n[Action2]\n; only this\n";
        QTest::newRow("a prompted compare report is Always Prompt")
            << "[Action1]\nOperation=3\n"
            << QStringList{"set Action1/Operation=Produce Compare Report", "toggle Action1/Prompted"}
            << "[Action1]\nOperation=-1\n";
        QTest::newRow("a missing or stray prompt swallows nothing")
            << "[Action1]\nMask=*\nSearch_subdir=1\nOperation=3\nConfirm Updates=0\nReverse Filters=1\n"
            << QStringList{"stray Action1/Include", "stray Action1/Prompted", "delete Action1/Prompted",
                           "stray Action1/Synchronization", "stray Action1/Confirm"}
            << "[Action1]\nMask=*\nSearch_subdir=1\nOperation=3\nConfirm Updates=0\nReverse Filters=1\n";
        const QString pins = "[Default]\nSort Compare=2\nSkip Files Mask=1\nIgnore Attributes=54\n"
                             "[Action1]\nSort Compare=2\nSkip Files Mask=1\nIgnore Attributes=54\n";
        const QStringList unpin{"set Default/Sort By=Unsorted", "toggle Default/Exclude Read",
                                "toggle Default/Ignore Read",   "set Action1/Sort By=Unsorted",
                                "toggle Action1/Exclude Read",  "toggle Action1/Ignore Read"};
        QTest::newRow("an action pins what it shows")
            << pins << unpin << "[Default]\n[Action1]\nSort Compare=-1\nSkip Files Mask=0\nIgnore Attributes=55\n";
    }

    void resave()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, edits);
        QFETCH(QString, saved);
        Fixture fixture;
        CTreeOptionsCtrl &tree = fixture.tree;
        fixture.Load(Ansi(script));
        for (const QString &edit : edits) {
            const QString verb = edit.section(u' ', 0, 0), where = edit.section(u' ', 1);
            const QString path = where.section(u'=', 0, 0), value = where.section(u'=', 1);
            QTreeWidgetItem *root = fixture.Root(path.section(u'/', 0, 0));
            QTreeWidgetItem *item = path.contains(u'/') ? Find(root, path.section(u'/', 1)) : root;
            QVERIFY2(item || verb == u"new" || verb == u"save" || verb == u"add", qPrintable(edit));
            bool checked = false;
            if (verb == u"toggle" && CTreeOptionsCtrl::GetCheckState(item, checked))
                tree.ToggleCheckBranch(item, checked);
            else if (verb == u"set")
                CTreeOptionsCtrl::SetItemValueText(item, value);
            else if (verb == u"add")
                CSettingSetter(tree).Set(
                    root,
                    *std::find_if(SettingFields().begin(), SettingFields().end(),
                                  [&](const SettingField &f) { return f.Key() == path.section(u'/', 1); }),
                    value);
            else if (verb == u"select")
                tree.SelectRadioItem(item);
            else if (verb == u"delete")
                delete item;
            else if (verb == u"stray")
                item->parent()->insertChild(item->parent()->indexOfChild(item),
                                            CTreeOptionsCtrl::NewItem("Stray", kImageText));
            else if (verb == u"move") {
                QTreeWidgetItem *next = tree.topLevelItem(tree.indexOfTopLevelItem(root) + 1);
                tree.DuplicateBranch(root, nullptr, next)->setText(0, next->text(0));
                next->setText(0, root->text(0));
                delete root;
            } else if (verb == u"repeat")
                tree.DuplicateBranch(root, nullptr, TVI_LAST)->setText(0, value);
            else if (verb == u"new")
                InsertActionRoot(tree, path, TVI_FIRST);
            else {
                QVERIFY(verb == u"save" && fixture.Save() != "<failed>");
                QCOMPARE(fixture.document.LoadScript(fixture.Path("out.mbs")), 1);
            }
        }
        QCOMPARE(QString::fromLatin1(fixture.Save()), QString::fromLatin1(Ansi(saved)));
    }

    void encodings_data()
    {
        // A script, its source path (if any) set to text ANSI cannot hold, and the bytes saved: ANSI
        // becomes UTF-16LE and says so; a script writing no section keeps its own; UTF-8 keeps every byte.
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("saved");
        const QString script = QStringLiteral("[Action1]\r\nPath1=x\r\nPath2=Caf\u00e9\r\n");
        const QString saved = QStringLiteral("[Action1]\r\nPath1=\u03A9mega\r\nPath2=Caf\u00e9\r\n");
        const QString empty = QStringLiteral("[Default]\r\n");
        const auto encode = [](const QString &text, ScriptEncoding encoding) {
            return CScriptGenerator::Encode(text, encoding);
        };
        using enum ScriptEncoding;
        QTest::newRow("utf-16le") << encode(script, Utf16Le) << encode(saved, Utf16Le);
        QTest::newRow("utf-8") << encode(script, Utf8) << encode(saved, Utf8);
        QTest::newRow("ansi that cannot hold the text becomes utf-16le")
            << encode(script, Ansi) << encode(saved, Utf16Le);
        QTest::newRow("empty utf-16le") << encode(empty, Utf16Le) << encode(empty, Utf16Le);
        QTest::newRow("empty ansi") << encode(empty, Ansi) << encode(empty, Ansi);
        // A Latin-1 letter, a cut sequence and an encoded surrogate.
        const QByteArray bytes("\xEF\xBB\xBF\r\n[Action1]\r\nPath2=Caf\xe9 \xe2\x82 \xed\xa0\x80\r\n\r\n");
        QTest::newRow("utf-8 that is not, as it was read") << bytes << bytes;
    }

    void encodings()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, saved);
        const bool becomesUnicode = saved.startsWith("\xFF\xFE") && !script.startsWith("\xFF\xFE");
        Fixture fixture;
        fixture.Load(script);
        if (QTreeWidgetItem *source = Find(fixture.Root("Action1"), "Source"))
            CTreeOptionsCtrl::SetItemValueText(source, QStringLiteral("\u03A9mega"));
        QCOMPARE(fixture.Save(), saved);
        QCOMPARE(m_ui.messages.size(), becomesUnicode ? 1 : 0);
        QVERIFY(!becomesUnicode || (m_ui.messages[0].contains("out.mbs") && m_ui.messages[0].contains("Unicode")));
        fixture.document.LoadScript(fixture.Path("out.mbs"));
        QCOMPARE(fixture.Save("again.mbs"), saved);
    }

    void rewrite_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("complete");
        CScriptGenerator generator(7);
        generator.m_strDatePicture = QStringLiteral("dd/MM/yyyy");
        const QString generated = generator.Generate(40);
        const QByteArray lines = Ansi("; before\n\n[Default]extra\n@=d\nMask=*\nmask=dead\n# note\n[Options]\nx=1\n"
                                      "[Action3]\nPath1=c\n[Action1]\nOutput Header=\\t\nMin Date Filter=31/02/20x\n"
                                      "[Action07]\nPath1=b\n[default]\nMask=dead\n[ACTION1]\nPath1=dead\n");
        for (const bool complete : {false, true}) {
            const char *const with = complete ? " with Show All" : "";
            QTest::addRow("generated%s", with) << CScriptGenerator::Encode(generated, ScriptEncoding::Ansi) << complete;
            QTest::addRow("lines, sections out of order, duplicates%s", with) << lines << complete;
            QTest::addRow("no Default%s", with) << Ansi("[Action2]\nPath1=x\n") << complete;
            QTest::addRow("empty%s", with) << QByteArray() << complete;
        }
        QTest::newRow("utf-16le") << CScriptGenerator::Encode(generated, ScriptEncoding::Utf16Le) << true;
        QTest::newRow("utf-8") << CScriptGenerator::Encode(generated, ScriptEncoding::Utf8) << false;
    }

    void rewrite()
    {
        // Byte for byte what the editor saves after loading (and Show All), with the same
        // messages; the tree keeps no more than "Default".
        QFETCH(QByteArray, script);
        QFETCH(bool, complete);
        Fixture editor;
        editor.Load(script);
        if (complete)
            for (int i = 0; i < editor.tree.topLevelItemCount(); ++i)
                CompleteAction(editor.tree, editor.tree.topLevelItem(i));
        const QByteArray saved = editor.Save();
        const qsizetype messages = std::exchange(m_ui.messages, {}).size();
        Fixture fixture;
        CScriptRewriter rewriter(fixture.tree, complete);
        QCOMPARE(rewriter.Rewrite(fixture.dir.Write(script), fixture.Path("out.mbs")),
                 CScriptRewriter::Result::Written);
        QCOMPARE(ReadAll(fixture.Path("out.mbs")), saved);
        QCOMPARE(m_ui.messages.size(), messages);
        QCOMPARE(fixture.tree.topLevelItemCount(), script.isEmpty() ? 0 : 1);
    }
};

QTEST_MAIN(TestScriptTree)
#include "tst_scripttree.moc"
