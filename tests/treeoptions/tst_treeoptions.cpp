// The options tree driven by real mouse, keyboard and focus input on the
// offscreen platform, with pickers answered by the scripted modal UI.

#include "framework/ScriptedModalUi.h"
#include "treeoptions/SortComboBox.h"
#include "treeoptions/SynchComboBox.h"
#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsDump.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"
#include "treeoptions/demo/TreeOptionsDemo.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

using Tree = CTreeOptionsCtrl;

class TestTreeOptions : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void clickAndSpaceToggle_data();
    void clickAndSpaceToggle();
    void toggleSetsChildrenOnly();
    void radioGroup();
    void valueText_data();
    void valueText();

    void editorLifeCycle_data();
    void editorLifeCycle();
    void editorOfHiddenItemWaits();
    void keysInEditors_data();
    void keysInEditors();
    void deletingOrDestroyingWhileEditing();

    void lists_data();
    void lists();

    void duplicateBranchIsIndependent();
    void pickers_data();
    void pickers();
    void spinBuddy();
    void pastedLineBreaksBecomeSpaces();

    void imageStripCellsDiffer_data();
    void imageStripCellsDiffer();
    void demoTreeHoldsEverySort();

private:
    QTreeWidgetItem *AddEdit(const QString &text, QTreeWidgetItem *parent = nullptr);
    void ClickLabel(QTreeWidgetItem *item);
    void ClickRow(QTreeWidgetItem *item);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<QDialog> m_window;
    Tree *m_tree = nullptr;
    QLineEdit *m_other = nullptr;
    ScriptedModalUi m_ui;
    std::unique_ptr<ScopedModalUi> m_install;
};

void TestTreeOptions::init()
{
    m_ui = ScriptedModalUi();
    m_install = std::make_unique<ScopedModalUi>(m_ui);
    m_window = std::make_unique<QDialog>();
    auto *layout = new QVBoxLayout(m_window.get());
    // The dialog's default button comes before the tree in the focus chain:
    // Tab in an editor must not wander to it, Enter in an editor must reach it.
    auto *ok = new QPushButton(QStringLiteral("OK"), m_window.get());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, m_window.get(), &QDialog::accept);
    m_tree = new Tree(m_window.get());
    m_other = new QLineEdit(m_window.get());
    layout->addWidget(ok);
    layout->addWidget(m_tree);
    layout->addWidget(m_other);
    m_window->resize(520, 400);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_tree->setFocus();
}

void TestTreeOptions::cleanup()
{
    QVERIFY2(m_ui.unexpected.isEmpty(), qPrintable(m_ui.unexpected.join(u", ")));
    m_window.reset();
    m_install.reset();
}

QTreeWidgetItem *TestTreeOptions::AddEdit(const QString &text, QTreeWidgetItem *parent)
{
    QTreeWidgetItem *item = m_tree->InsertItem(text, 11, parent);
    m_tree->AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
    return item;
}

void TestTreeOptions::ClickLabel(QTreeWidgetItem *item)
{
    m_tree->scrollToItem(item);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->LabelRect(item).center());
}

void TestTreeOptions::ClickRow(QTreeWidgetItem *item)
{
    const QRect row = m_tree->visualItemRect(item);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, QPoint(row.right() - 5, row.center().y()));
}

void TestTreeOptions::Key(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

// ------------------------------------------------------------- check boxes

void TestTreeOptions::clickAndSpaceToggle_data()
{
    QTest::addColumn<int>("parentImage");
    QTest::addColumn<int>("firstImage");
    QTest::addColumn<int>("secondImage");
    QTest::addColumn<int>("toggled");
    QTest::addColumn<bool>("bySpace");
    QTest::addColumn<int>("expectedImage");
    QTest::addColumn<int>("expectedParent");

    QTest::newRow("last unchecked child checked: parent checked") << 0 << 1 << 0 << 1 << false << 1 << 1;
    QTest::newRow("from indeterminate to all checked clears the grey") << 8 << 1 << 0 << 1 << false << 1 << 1;
    QTest::newRow("one of all checked unchecked: indeterminate") << 1 << 1 << 1 << 0 << false << 0 << 8;
    QTest::newRow("last checked unchecked: parent unchecked") << 8 << 1 << 0 << 0 << false << 0 << 0;
    QTest::newRow("disabled parent goes disabled indeterminate") << 5 << 1 << 1 << 0 << false << 0 << 9;
    QTest::newRow("space: one unchecked gives indeterminate") << 1 << 1 << 1 << 1 << true << 0 << 8;
    QTest::newRow("space: all checked") << 0 << 0 << 1 << 0 << true << 1 << 1;
    // Disabled boxes ignore clicks and space; the parent is not recomputed.
    for (int image : {4, 5, 9}) {
        QTest::addRow("disabled %d, click", image) << 0 << image << 0 << 0 << false << image << 0;
        QTest::addRow("disabled %d, space", image) << 0 << image << 0 << 0 << true << image << 0;
    }
}

void TestTreeOptions::clickAndSpaceToggle()
{
    QFETCH(int, parentImage);
    QFETCH(int, firstImage);
    QFETCH(int, secondImage);
    QFETCH(int, toggled);
    QFETCH(bool, bySpace);
    QFETCH(int, expectedImage);
    QFETCH(int, expectedParent);

    QTreeWidgetItem *parent = m_tree->AddCheckBoxItem(QStringLiteral("Parent"), nullptr, false);
    QTreeWidgetItem *children[] = {m_tree->AddCheckBoxItem(QStringLiteral("First"), parent, false),
                                   m_tree->AddCheckBoxItem(QStringLiteral("Second"), parent, false)};
    m_tree->AddGroupItem(QStringLiteral("Not a box"), 13, parent); // ignored in the count
    Tree::SetItemImage(parent, parentImage);
    Tree::SetItemImage(children[0], firstImage);
    Tree::SetItemImage(children[1], secondImage);
    parent->setExpanded(true);

    QTreeWidgetItem *item = children[toggled];
    if (bySpace) {
        m_tree->setCurrentItem(item);
        Key(Qt::Key_Space);
    } else {
        ClickRow(item);
    }
    QCOMPARE(Tree::GetItemImage(item), expectedImage);
    QCOMPARE(Tree::GetItemImage(parent), expectedParent);
    QCOMPARE(m_tree->currentItem(), item);
}

void TestTreeOptions::toggleSetsChildrenOnly()
{
    QTreeWidgetItem *top = m_tree->AddCheckBoxItem(QStringLiteral("Top"), nullptr, false);
    QTreeWidgetItem *child = m_tree->AddCheckBoxItem(QStringLiteral("Child"), top, false);
    m_tree->AddCheckBoxItem(QStringLiteral("Grandchild"), child, false);
    m_tree->AddRadioItem(QStringLiteral("Radio"), top, false, TVI_FIRST);

    // The expand arrow expands without toggling.
    const QRect arrow = m_tree->ExpandButtonRect(top);
    QVERIFY(!arrow.isEmpty());
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, arrow.center());
    QVERIFY(top->isExpanded());
    QCOMPARE(Tree::GetItemImage(top), 0);

    child->setExpanded(true);
    ClickRow(top);
    QCOMPARE(TreeOptionsDump(*m_tree), QStringLiteral("Top [1]\n  Radio [2]\n  Child [1]\n    Grandchild [0]\n"));
    ClickLabel(top);
    QCOMPARE(TreeOptionsDump(*m_tree), QStringLiteral("Top [0]\n  Radio [2]\n  Child [0]\n    Grandchild [0]\n"));
}

void TestTreeOptions::radioGroup()
{
    QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), 13, nullptr);
    QTreeWidgetItem *first = m_tree->AddRadioItem(QStringLiteral("First"), group, true);
    QTreeWidgetItem *second = m_tree->AddRadioItem(QStringLiteral("Second"), group, false);
    QTreeWidgetItem *disabled = m_tree->AddRadioItem(QStringLiteral("Disabled"), group, false);
    Tree::SetItemImage(disabled, 7);
    m_tree->AddCheckBoxItem(QStringLiteral("Box"), group, true);
    m_tree->AddRadioItem(QStringLiteral("Outside"), group, false);
    group->setExpanded(true);
    QCOMPARE(Tree::GetItemImage(first), 3);

    ClickRow(second);
    const QString selectedSecond = QStringLiteral("Group [13]\n  First [2]\n  Second [3]\n  Disabled [6]\n"
                                                  "  Box [1]\n  Outside [2]\n");
    QCOMPARE(TreeOptionsDump(*m_tree), selectedSecond);

    // Space on the selected radio is used up: nothing changes, the keyboard
    // search does not move the selection.
    Key(Qt::Key_Space);
    QCOMPARE(TreeOptionsDump(*m_tree), selectedSecond);
    QCOMPARE(m_tree->currentItem(), second);

    ClickRow(disabled);
    QCOMPARE(TreeOptionsDump(*m_tree), selectedSecond);
}

void TestTreeOptions::valueText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("afterSet");
    QTest::addColumn<QString>("readValue");
    QTest::addColumn<QString>("stripped");

    QTest::newRow("no separator") << "Source" << "C:\\x" << "Source: C:\\x" << "" << "Source";
    QTest::newRow("old value") << "Source: old" << "C:\\x" << "Source: C:\\x" << "old" << "Source";
    QTest::newRow("first separator") << "A: b: c" << "z" << "A: z" << "b: c" << "A";
    QTest::newRow("empty value") << "Mask: *.*" << "" << "Mask: " << "*.*" << "Mask";
    QTest::newRow("line breaks become spaces") << "Path: " << "a\r\nb\nc\rd" << "Path: a b c d" << "" << "Path";
}

void TestTreeOptions::valueText()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, afterSet);
    QFETCH(QString, readValue);
    QFETCH(QString, stripped);
    QTreeWidgetItem *item = m_tree->InsertItem(text, 11);
    QCOMPARE(Tree::GetItemValueText(item), readValue);
    Tree::StripItemValue(item);
    QCOMPARE(item->text(0), stripped);
    item->setText(0, text);
    Tree::SetItemValueText(item, value);
    QCOMPARE(item->text(0), afterSet);
}

// ----------------------------------------------------------------- editors

void TestTreeOptions::editorLifeCycle_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"next row", "tab", "scroll bar", "wheel", "focus leaves", "commit from outside", "collapse"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestTreeOptions::editorLifeCycle()
{
    QFETCH(QString, how);
    QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), 13, nullptr);
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Source Path: C:\\old"), group);
    QTreeWidgetItem *empty = AddEdit(QStringLiteral("File Mask"), group);
    for (int i = 0; i < 60; ++i)
        m_tree->InsertItem(QStringLiteral("Filler %1").arg(i), 13);
    QTreeWidgetItem *last = AddEdit(QStringLiteral("Last: x"));
    group->setExpanded(true);

    ClickLabel(item);
    QCOMPARE(item->text(0), QStringLiteral("Source Path"));
    CTreeOptionsEdit *edit = m_tree->ActiveEdit();
    QVERIFY(edit && edit->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("C:\\old"));
    QVERIFY(m_tree->hasFocus()); // the keyboard stays with the tree
    QVERIFY(edit->geometry().left() > m_tree->LabelRect(item).right());
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("D:\\new"));

    if (how == u"next row") {
        ClickRow(empty);
        QCOMPARE(item->text(0), QStringLiteral("Source Path: D:\\new"));
        QVERIFY(m_tree->ActiveEdit());
        QCOMPARE(m_tree->ActiveEdit()->text(), QString());
        // Leaving an unchanged empty editor gives the label and the separator.
        ClickRow(group);
        QCOMPARE(empty->text(0), QStringLiteral("File Mask: "));
    } else if (how == u"tab") {
        Key(Qt::Key_Tab);
        QVERIFY(m_tree->hasFocus());
    } else if (how == u"scroll bar") {
        m_tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (how == u"wheel") {
        const QPoint pos = m_tree->viewport()->rect().center();
        QWheelEvent wheel(pos, m_tree->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_tree->viewport(), &wheel);
    } else if (how == u"focus leaves") {
        QTest::mouseClick(m_other, Qt::LeftButton);
        QVERIFY(m_other->hasFocus());
    } else if (how == u"commit from outside") {
        m_tree->CommitAndEndEdit();
        QVERIFY(m_tree->hasFocus());
    } else {
        group->setExpanded(false);
    }
    QCOMPARE(item->text(0), QStringLiteral("Source Path: D:\\new"));
    QVERIFY(!m_tree->EditItem());
    QVERIFY(!m_tree->ActiveEdit());
    QTest::qWait(0);
    QVERIFY(m_tree->viewport()->findChildren<QLineEdit *>().isEmpty());

    // Clicking the item again opens its editor again.
    group->setExpanded(true);
    ClickLabel(item);
    QVERIFY(m_tree->ActiveEdit());
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("D:\\new"));

    // The view's own scrolling to the next selected item keeps that item's editor.
    Key(Qt::Key_End);
    QCOMPARE(m_tree->currentItem(), last);
    QVERIFY(m_tree->verticalScrollBar()->value() > 0);
    QVERIFY(m_tree->ActiveEdit());
    QCOMPARE(m_tree->ActiveEdit()->geometry().top(), m_tree->LabelRect(last).top());
}

void TestTreeOptions::editorOfHiddenItemWaits()
{
    m_tree->InsertItem(QStringLiteral("Above"), 13);
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Value: 1"));
    m_tree->setCurrentItem(item);
    QVERIFY(m_tree->ActiveEdit() && m_tree->ActiveEdit()->isVisible());
    item->setHidden(true);
    QTRY_VERIFY(!m_tree->ActiveEdit()->isVisible());
    m_tree->topLevelItem(0)->setHidden(true); // the row moves up meanwhile
    item->setHidden(false);
    QTRY_VERIFY(m_tree->ActiveEdit()->isVisible());
    QCOMPARE(m_tree->ActiveEdit()->geometry().top(), m_tree->LabelRect(item).top());
}

void TestTreeOptions::keysInEditors_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    for (const char *where : {"tree", "edit", "list"}) {
        QTest::addRow("Enter in %s", where) << where << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::addRow("Esc in %s", where) << where << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
}

void TestTreeOptions::keysInEditors()
{
    QFETCH(QString, where);
    QFETCH(int, key);
    QFETCH(int, result);
    QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), 13, nullptr);
    m_tree->InsertItem(QStringLiteral("Child"), 13, group);
    QTreeWidgetItem *edit = AddEdit(QStringLiteral("Text: a"));
    QTreeWidgetItem *list = m_tree->InsertItem(QStringLiteral("Sort By: File Name"), 12);
    m_tree->AttachComboBox(list, EditorClass<CSortComboBox>());

    // Without an editor the right arrow expands as usual; with one it moves
    // the focus into the editor.
    m_tree->setCurrentItem(group);
    Key(Qt::Key_Right);
    QVERIFY(group->isExpanded());
    m_tree->setCurrentItem(where == u"list" ? list : edit);
    QVERIFY(m_tree->hasFocus());
    if (where != u"tree") {
        Key(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(),
                 where == u"list" ? static_cast<QWidget *>(m_tree->ActiveCombo()) : m_tree->ActiveEdit());
    }
    // Enter and Esc reach the dialog.
    m_window->setResult(-1);
    Key(key);
    QCOMPARE(m_window->result(), result);
}

void TestTreeOptions::deletingOrDestroyingWhileEditing()
{
    QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), 13, nullptr);
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Value: 1"), group);
    group->setExpanded(true);
    m_tree->setCurrentItem(item);
    QVERIFY(m_tree->ActiveEdit());
    delete group;
    QVERIFY(!m_tree->EditItem());

    m_tree->setCurrentItem(AddEdit(QStringLiteral("Other: 1")));
    QVERIFY(m_tree->ActiveEdit());
    m_tree->clear();
    QVERIFY(!m_tree->EditItem());

    // Destroying the tree writes nothing back.
    m_tree->setCurrentItem(AddEdit(QStringLiteral("Last: 1")));
    Key(Qt::Key_Right);
    QTest::keyClicks(m_tree->ActiveEdit(), QStringLiteral("typed"));
    int changes = 0;
    connect(m_tree, &QTreeWidget::itemChanged, this, [&changes] { ++changes; });
    delete m_tree;
    QCOMPARE(changes, 0);
}

// ------------------------------------------------------------------- lists

void TestTreeOptions::lists_data()
{
    QTest::addColumn<bool>("synch");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("selected");
    QTest::newRow("exact") << true << "Update & Prune Target (update, add new & remove orphans from target)" << 4;
    QTest::newRow("ignoring case") << true << "always prompt" << 9;
    QTest::newRow("first beginning with the value") << true << "Update" << 3;
    QTest::newRow("empty: nothing selected") << true << "" << -1;
    QTest::newRow("unmatched: nothing selected") << true << "Whatever" << -1;
    QTest::newRow("sort order ignoring case") << false << "file DATE" << 3;
    QTest::newRow("sort order empty") << false << "" << -1;
}

void TestTreeOptions::lists()
{
    static const QStringList operations{
        "Synchronize Both (update & add new files both directions)",
        "Augment Target (add only new files to destination)",
        "Refresh Target (update only existing files in target)",
        "Update Target (update & add new files to target)",
        "Update & Prune Target (update, add new & remove orphans from target)",
        "Remove Duplicates from Target (remove identical files found on target)",
        "Produce Compare Report",
        "Recreate Directory Structure Only (create directories on target)",
        "Delete all Empty Directories (from the target)",
        "Always Prompt"};
    static const QStringList sorts{"Unsorted",  "File Name", "File Type",     "File Date",
                                   "File Size", "File Path", "File Checksum", "CRC32"};
    QFETCH(bool, synch);
    QFETCH(QString, value);
    QFETCH(int, selected);
    const QStringList &entries = synch ? operations : sorts;
    const QString text = QStringLiteral("List: ") + value;
    QTreeWidgetItem *item = m_tree->InsertItem(text, 12);
    m_tree->AttachComboBox(item, synch ? EditorClass<CSynchComboBox>() : EditorClass<CSortComboBox>());
    QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), 13);

    ClickLabel(item);
    CTreeOptionsCombo *combo = m_tree->ActiveCombo();
    QVERIFY(combo);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, entries);
    QCOMPARE(combo->currentIndex(), selected);
    // Opening and leaving the list changes nothing (a match may differ in case).
    ClickRow(next);
    QCOMPARE(item->text(0), selected < 0 ? text : QStringLiteral("List: ") + entries[selected]);

    // A choice from the drop-down list is committed; the popup taking the
    // focus does not end editing, Tab gives the focus back to the tree.
    ClickLabel(item);
    combo = m_tree->ActiveCombo();
    QTest::mouseClick(combo, Qt::LeftButton); // focuses it and drops the list
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(m_tree->EditItem(), item);
    QTest::keyClick(combo->view(), Qt::Key_End);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QTRY_VERIFY(!combo->view()->isVisible());
    QCOMPARE(m_tree->EditItem(), item);
    QVERIFY(combo->hasFocus());
    Key(Qt::Key_Tab);
    QVERIFY(m_tree->hasFocus());
    QVERIFY(!m_tree->EditItem());
    QCOMPARE(item->text(0), QStringLiteral("List: ") + entries.last());
}

// ------------------------------------------------------ copies and pickers

void TestTreeOptions::duplicateBranchIsIndependent()
{
    QTreeWidgetItem *root = m_tree->InsertItem(QStringLiteral("Action1"), 11);
    root->setData(0, Qt::UserRole + 1, QStringList{QStringLiteral("@=one"), QStringLiteral("@=two")});
    QTreeWidgetItem *box = m_tree->AddCheckBoxItem(QStringLiteral("Box"), root, false);
    m_tree->AddCheckBoxItem(QStringLiteral("Inner"), box, true);
    m_tree->AddRadioItem(QStringLiteral("Radio"), root, true, TVI_FIRST);
    QTreeWidgetItem *value = AddEdit(QStringLiteral("Mask: *.txt"), root);
    value->setData(0, Qt::UserRole + 2, QStringLiteral("raw *.txt"));
    QTreeWidgetItem *tail = m_tree->InsertItem(QStringLiteral("Tail"), 11);
    root->setExpanded(true);

    QTreeWidgetItem *copy = m_tree->DuplicateBranch(root, nullptr, root);
    QCOMPARE(m_tree->indexOfTopLevelItem(copy), 1);
    QCOMPARE(TreeOptionsDumpBranch(copy), TreeOptionsDumpBranch(root));
    QCOMPARE(copy->data(0, Qt::UserRole + 1), root->data(0, Qt::UserRole + 1));
    QCOMPARE(copy->child(2)->data(0, Qt::UserRole + 2), QVariant(QStringLiteral("raw *.txt")));
    QVERIFY(Tree::GetItemInfo(copy->child(2)) != Tree::GetItemInfo(value));
    QCOMPARE(*Tree::GetItemInfo(copy->child(2)), *Tree::GetItemInfo(value));
    QVERIFY(!copy->isExpanded());

    // Toggling the copy leaves the source alone; deleting the source leaves
    // the copy's records intact.
    const QString source = TreeOptionsDumpBranch(root);
    copy->setExpanded(true);
    ClickRow(copy->child(1));
    QCOMPARE(TreeOptionsDumpBranch(root), source);
    QCOMPARE(Tree::GetItemImage(copy->child(1)), 1);
    const QString copied = TreeOptionsDumpBranch(copy);
    delete root;
    QCOMPARE(TreeOptionsDumpBranch(copy), copied);
    QVERIFY(Tree::IsRadioItem(copy->child(0)));
    QVERIFY(Tree::IsCheckBoxItem(copy->child(1)->child(0)));
    ClickLabel(copy->child(2));
    QVERIFY(m_tree->ActiveEdit());
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("*.txt"));

    // An item being edited is copied with its value, not its bare label.
    QTreeWidgetItem *again = m_tree->DuplicateBranch(copy, nullptr, TVI_LAST);
    QCOMPARE(copy->child(2)->text(0), QStringLiteral("Mask: *.txt"));
    QCOMPARE(TreeOptionsDumpBranch(again), TreeOptionsDumpBranch(copy));

    QTreeWidgetItem *first = m_tree->DuplicateItem(tail, nullptr, TVI_FIRST);
    QCOMPARE(m_tree->indexOfTopLevelItem(first), 0);
    QCOMPARE(first->childCount(), 0);
}

void TestTreeOptions::pickers_data()
{
    QTest::addColumn<uint>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer"); // "-" cancels
    QTest::addColumn<QString>("expected");

    QTest::newRow("file") << uint(kKindFilePath) << "File: /old/a.txt" << "/new/b.txt" << "File: /new/b.txt";
    QTest::newRow("file with a line break") << uint(kKindFilePath) << "File: " << "/new/odd\nname"
                                            << "File: /new/odd name";
    QTest::newRow("file cancelled") << uint(kKindFilePath) << "File: /old/a.txt" << "-" << "File: /old/a.txt";
    QTest::newRow("folder") << uint(kKindFolderPath) << "Folder: /srv/old" << "/srv/new" << "Folder: /srv/new";
    QTest::newRow("colour") << uint(kKindColour) << "Colour: &FF0000" << "00C0FF" << "Colour: &00C0FF";
    QTest::newRow("colour cancelled") << uint(kKindColour) << "Colour: &FF0000" << "-" << "Colour: &FF0000";
    QTest::newRow("font") << uint(kKindNone) << "Font: Serif" << "Monospace" << "Font: Monospace";
}

void TestTreeOptions::pickers()
{
    QFETCH(uint, kind);
    QFETCH(QString, text);
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    const bool cancel = answer == u"-";
    const bool path = kind == kKindFilePath || kind == kKindFolderPath;

    CTreeOptionsItemInfo info;
    info.m_nKind = kind;
    info.m_pEditorClass = path ? EditorClass<CTreeOptionsEdit>() : EditorClass<CTreeOptionsBrowseButton>();
    info.m_pBuddyClass = path ? EditorClass<CTreeOptionsBrowseButton>() : nullptr;
    QTreeWidgetItem *item = m_tree->InsertItem(text, 11);
    m_tree->SetItemInfo(item, info);
    QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), 13);

    const QColor colour(u'#' + answer);
    if (kind == kKindFilePath)
        m_ui.fileChoices.push_back(cancel ? std::nullopt : std::optional<QString>(answer));
    else if (kind == kKindFolderPath)
        m_ui.folderChoices.push_back(answer);
    else if (kind == kKindColour)
        m_ui.colourChoices.push_back(cancel ? std::nullopt : std::optional<COLORREF>(RGB(
                                                                 colour.red(), colour.green(), colour.blue())));
    else
        m_ui.fontChoices.push_back(CLogFont{answer, 11, 700});

    ClickLabel(item);
    CTreeOptionsBrowseButton *button = m_tree->ActiveBrowse();
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("..."));
    QCOMPARE(bool(m_tree->ActiveEdit()), path);
    if (path) {
        QCOMPARE(item->text(0), text.left(text.indexOf(u':')));
        QCOMPARE(button->geometry().left(), m_tree->ActiveEdit()->geometry().right() + 2);
    } else {
        QCOMPARE(item->text(0), text); // the whole text stays visible
        QVERIFY(button->geometry().left() > m_tree->LabelRect(item).right());
    }
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::qWait(0); // a colour or font pick reopens the editor later
    QCOMPARE(m_tree->EditItem(), item);
    ClickRow(next);
    QCOMPARE(item->text(0), expected);

    if (kind == kKindFilePath) {
        QCOMPARE(m_ui.fileRequests.size(), 1);
        const FileDialogRequest &request = m_ui.fileRequests.first();
        QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
        QCOMPARE(request.okButtonText, QStringLiteral("OK"));
        QCOMPARE(request.filter, QStringLiteral("All Files (*.*)|*.*||"));
        QCOMPARE(request.title, QStringLiteral("Please specify a file"));
        QCOMPARE(request.initialFile, text.mid(6));
    } else if (kind == kKindFolderPath) {
        QCOMPARE(m_ui.folderRequests, QStringList{QStringLiteral("/srv/old")});
    } else if (kind == kKindColour) { // a square of the colour before the text
        const QImage shot = m_tree->viewport()->grab().toImage();
        const QPoint inSquare(m_tree->visualItemRect(item).left() + 8, m_tree->visualItemRect(item).center().y());
        QCOMPARE(QColor(shot.pixel(inSquare * shot.devicePixelRatio())), QColor(u'#' + expected.right(6)));
    } else {
        CLogFont font;
        QVERIFY(Tree::GetItemFont(item, font));
        QCOMPARE(font.faceName, answer);
        QCOMPARE(font.weight, 700);
    }
}

void TestTreeOptions::spinBuddy()
{
    CTreeOptionsItemInfo info;
    info.m_nKind = kKindEdit;
    info.m_pEditorClass = EditorClass<CTreeOptionsEdit>();
    info.m_pBuddyClass = EditorClass<CTreeOptionsSpinCtrl>();
    QTreeWidgetItem *item = m_tree->InsertItem(QStringLiteral("Number: 99"), 11);
    m_tree->SetItemInfo(item, info);
    QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), 13);
    ClickLabel(item);
    CTreeOptionsSpinCtrl *spin = m_tree->ActiveSpin();
    QVERIFY(spin);
    QCOMPARE(spin->geometry().left(), m_tree->ActiveEdit()->geometry().right() + 1);
    auto *up = spin->findChild<QToolButton *>(QStringLiteral("up"));
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("100"));
    QCOMPARE(m_tree->EditItem(), item); // clicking the spin keeps the editor open

    m_tree->ActiveEdit()->setText(QStringLiteral("x"));
    QTest::mouseClick(spin->findChild<QToolButton *>(QStringLiteral("down")), Qt::LeftButton);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("0"));
    Key(Qt::Key_Right);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    ClickRow(next);
    QCOMPARE(item->text(0), QStringLiteral("Number: 2"));
}

void TestTreeOptions::pastedLineBreaksBecomeSpaces()
{
    QFont small = m_tree->font();
    small.setPixelSize(7);
    m_tree->setFont(small);
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Message: "));
    QVERIFY(m_tree->visualItemRect(item).height() < 20);
    m_tree->setCurrentItem(item);
    QCOMPARE(m_tree->ActiveEdit()->height(), 20); // however small the font
    Key(Qt::Key_Right);
    QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree\u2029four"));
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("one two three four"));
    Key(Qt::Key_Tab);
    QCOMPARE(item->text(0), QStringLiteral("Message: one two three four"));
}

// ---------------------------------------------------------- images, demo

void TestTreeOptions::imageStripCellsDiffer_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("dark");
    QTest::newRow("ratio 1") << 1.0 << false;
    QTest::newRow("ratio 2") << 2.0 << false;
    QTest::newRow("ratio 2, dark theme") << 2.0 << true;
}

void TestTreeOptions::imageStripCellsDiffer()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, dark);
    const QPalette saved = QGuiApplication::palette();
    if (dark) {
        QPalette palette = saved;
        palette.setColor(QPalette::Base, QColor(30, 30, 30));
        palette.setColor(QPalette::Text, QColor(230, 230, 230));
        QGuiApplication::setPalette(palette);
    }
    const QImage strip = CTreeOptionsImages::RenderStrip(ratio);
    QGuiApplication::setPalette(saved);
    const int cell = int(CTreeOptionsImages::kCellSize * ratio);
    QCOMPARE(strip.size(), QSize(CTreeOptionsImages::kCount * cell, cell));
    QImage blank(cell, cell, strip.format());
    blank.fill(Qt::transparent);
    QList<QImage> cells{blank}; // no cell is blank, no two are alike
    for (int i = 0; i < CTreeOptionsImages::kCount; ++i) {
        const QImage image = strip.copy(i * cell, 0, cell, cell);
        for (int j = 0; j < cells.size(); ++j)
            QVERIFY2(image != cells[j], qPrintable(j ? QStringLiteral("cell %1 equals %2").arg(i).arg(j - 1)
                                                     : QStringLiteral("cell %1 is blank").arg(i)));
        cells << image;
    }
    if (dark) // light strokes on a dark box
        QVERIFY(QColor(cells[1].pixel(cell / 2, cell / 2)).lightness() < 80);
}

void TestTreeOptions::demoTreeHoldsEverySort()
{
    QTreeWidgetItem *root = BuildTreeOptionsDemo(*m_tree);
    QString expected = QStringLiteral(
        "Every item sort [11]\n"
        "  Check boxes [13]\n"
        "    Parent box [8]\n"
        "      Checked child [1]\n"
        "      Unchecked child [0]\n"
        "    Disabled, unchecked [4]\n"
        "    Disabled, checked [5]\n"
        "    Disabled, indeterminate [9]\n"
        "  Radio buttons [13]\n"
        "    First choice [2]\n"
        "    Second choice [3]\n"
        "    Disabled choice [6]\n"
        "  Values [13]\n"
        "    Text: some words [11]\n"
        "    Operation: Update Target (update & add new files to target) [12]\n"
        "    Sort By: File Date [12]\n"
        "    Number (0 to 100): 42 [11]\n"
        "    File: /etc/hostname [11]\n"
        "    Folder: /tmp [14]\n"
        "    Colour: &0080FF [11]\n"
        "    Font: Sans Serif [15]\n"
        "  Images [13]\n");
    for (int i = 0; i < CTreeOptionsImages::kCount; ++i)
        expected += QStringLiteral("    Image %1 [%1]\n").arg(i);
    QCOMPARE(TreeOptionsDump(*m_tree), expected);

    // Each value item opens its own editors: Edit, Combo, Spin, Browse button.
    const QStringList editors{"E", "C", "C", "ES", "EB", "EB", "B", "B"};
    QTreeWidgetItem *values = root->child(2);
    for (int i = 0; i < values->childCount(); ++i) {
        m_tree->setCurrentItem(values->child(i));
        const QString shown = QString(m_tree->ActiveEdit() ? "E" : "") + (m_tree->ActiveCombo() ? "C" : "")
                              + (m_tree->ActiveSpin() ? "S" : "") + (m_tree->ActiveBrowse() ? "B" : "");
        QCOMPARE(shown, editors[i]);
    }
}

QTEST_MAIN(TestTreeOptions)
#include "tst_treeoptions.moc"
