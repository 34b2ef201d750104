// The options tree driven by real mouse, keyboard and focus input on the
// offscreen platform, with pickers answered by the scripted modal UI.

#include "framework/ScriptedModalUi.h"
#include "script/SettingCatalogue.h"
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
    void expandButtonDoesNotToggle();
    void disabledBoxesIgnoreInput_data();
    void disabledBoxesIgnoreInput();
    void radioGroup();
    void valueText_data();
    void valueText();

    void editorLifeCycle();
    void editorEnds_data();
    void editorEnds();
    void viewScrollingToNewItemKeepsEditor();
    void editorOfHiddenItemWaits();
    void rightArrowMovesFocusIntoEditor();
    void enterAndEscReachTheDialog_data();
    void enterAndEscReachTheDialog();
    void deletingOrDestroyingWhileEditing();

    void listEntries_data();
    void listEntries();
    void listPreselection_data();
    void listPreselection();
    void listChoiceThroughPopupIsCommitted();

    void duplicateBranchIsIndependent();
    void pickers_data();
    void pickers();
    void colourSquareIsDrawn();
    void spinBuddy();
    void pastedLineBreaksBecomeSpaces();
    void editIsAtLeast20PixelsHigh();

    void imageStripCellsDiffer_data();
    void imageStripCellsDiffer();
    void demoTreeHoldsEverySort();

private:
    QTreeWidgetItem *AddEdit(const QString &text, QTreeWidgetItem *parent = nullptr, int image = 11);
    QTreeWidgetItem *AddValue(const QString &text, const CTreeOptionsItemInfo &info);
    void ClickLabel(QTreeWidgetItem *item);
    void ClickRow(QTreeWidgetItem *item);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<QWidget> m_window;
    Tree *m_tree = nullptr;
    QLineEdit *m_other = nullptr;
    ScriptedModalUi m_ui;
    std::unique_ptr<ScopedModalUi> m_install;
};

void TestTreeOptions::init()
{
    m_ui = ScriptedModalUi();
    m_install = std::make_unique<ScopedModalUi>(m_ui);
    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    // A control before the tree in the focus chain: Tab in an editor must not
    // wander to it.
    layout->addWidget(new QPushButton(QStringLiteral("First"), m_window.get()));
    m_tree = new Tree(m_window.get());
    m_other = new QLineEdit(m_window.get());
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

QTreeWidgetItem *TestTreeOptions::AddEdit(const QString &text, QTreeWidgetItem *parent, int image)
{
    QTreeWidgetItem *item = m_tree->InsertItem(text, image, parent);
    m_tree->AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
    return item;
}

QTreeWidgetItem *TestTreeOptions::AddValue(const QString &text, const CTreeOptionsItemInfo &info)
{
    QTreeWidgetItem *item = m_tree->InsertItem(text, 11);
    m_tree->SetItemInfo(item, info);
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
    QTest::addColumn<bool>("firstChecked");
    QTest::addColumn<bool>("secondChecked");
    QTest::addColumn<int>("toggled");
    QTest::addColumn<bool>("bySpace");
    QTest::addColumn<int>("expectedParent");

    QTest::newRow("last unchecked child checked: parent checked") << 0 << true << false << 1 << false << 1;
    QTest::newRow("from indeterminate to all checked clears the grey") << 8 << true << false << 1 << false << 1;
    QTest::newRow("one of all checked unchecked: indeterminate") << 1 << true << true << 0 << false << 8;
    QTest::newRow("last checked unchecked: parent unchecked") << 8 << true << false << 0 << false << 0;
    QTest::newRow("disabled parent goes disabled indeterminate") << 5 << true << true << 0 << false << 9;
    QTest::newRow("space: one unchecked gives indeterminate") << 1 << true << true << 1 << true << 8;
    QTest::newRow("space: all checked") << 0 << false << true << 0 << true << 1;
}

void TestTreeOptions::clickAndSpaceToggle()
{
    QFETCH(int, parentImage);
    QFETCH(bool, firstChecked);
    QFETCH(bool, secondChecked);
    QFETCH(int, toggled);
    QFETCH(bool, bySpace);
    QFETCH(int, expectedParent);

    QTreeWidgetItem *parent = m_tree->AddCheckBoxItem(QStringLiteral("Parent"), nullptr, false);
    QTreeWidgetItem *children[] = {m_tree->AddCheckBoxItem(QStringLiteral("First"), parent, firstChecked),
                                   m_tree->AddCheckBoxItem(QStringLiteral("Second"), parent, secondChecked)};
    m_tree->AddGroupItem(QStringLiteral("Not a box"), 13, parent); // ignored in the count
    Tree::SetItemImage(parent, parentImage);
    parent->setExpanded(true);

    QTreeWidgetItem *item = children[toggled];
    const bool wasChecked = toggled == 0 ? firstChecked : secondChecked;
    if (bySpace) {
        m_tree->setCurrentItem(item);
        Key(Qt::Key_Space);
    } else {
        ClickRow(item);
    }
    bool checked = false;
    QVERIFY(Tree::GetCheckState(item, checked));
    QCOMPARE(checked, !wasChecked);
    QCOMPARE(Tree::GetItemImage(parent), expectedParent);
    QCOMPARE(m_tree->currentItem(), item);
}

void TestTreeOptions::toggleSetsChildrenOnly()
{
    QTreeWidgetItem *top = m_tree->AddCheckBoxItem(QStringLiteral("Top"), nullptr, false);
    QTreeWidgetItem *child = m_tree->AddCheckBoxItem(QStringLiteral("Child"), top, false);
    m_tree->AddCheckBoxItem(QStringLiteral("Grandchild"), child, false);
    m_tree->AddRadioItem(QStringLiteral("Radio"), top, false, TVI_FIRST);
    m_tree->expandAll();

    ClickRow(top);
    QCOMPARE(TreeOptionsDump(*m_tree), QStringLiteral("Top [1]\n  Radio [2]\n  Child [1]\n    Grandchild [0]\n"));
    ClickLabel(top);
    QCOMPARE(TreeOptionsDump(*m_tree), QStringLiteral("Top [0]\n  Radio [2]\n  Child [0]\n    Grandchild [0]\n"));
}

void TestTreeOptions::expandButtonDoesNotToggle()
{
    QTreeWidgetItem *top = m_tree->AddCheckBoxItem(QStringLiteral("Top"), nullptr, false);
    m_tree->AddCheckBoxItem(QStringLiteral("Child"), top, false);
    const QRect button = m_tree->ExpandButtonRect(top);
    QVERIFY(!button.isEmpty());
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, button.center());
    QVERIFY(top->isExpanded());
    QCOMPARE(Tree::GetItemImage(top), 0);
}

void TestTreeOptions::disabledBoxesIgnoreInput_data()
{
    QTest::addColumn<int>("image");
    QTest::addColumn<bool>("bySpace");
    for (int image : {4, 5, 9}) {
        QTest::addRow("image %d, click", image) << image << false;
        QTest::addRow("image %d, space", image) << image << true;
    }
}

void TestTreeOptions::disabledBoxesIgnoreInput()
{
    QFETCH(int, image);
    QFETCH(bool, bySpace);
    QTreeWidgetItem *parent = m_tree->AddCheckBoxItem(QStringLiteral("Parent"), nullptr, false);
    QTreeWidgetItem *box = m_tree->AddCheckBoxItem(QStringLiteral("Box"), parent, false);
    parent->setExpanded(true);
    Tree::SetItemImage(box, image);
    if (bySpace) {
        m_tree->setCurrentItem(box);
        Key(Qt::Key_Space);
    } else {
        ClickRow(box);
    }
    QCOMPARE(Tree::GetItemImage(box), image);
    QCOMPARE(Tree::GetItemImage(parent), 0);
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
    bool selected = false;
    QVERIFY(Tree::GetRadioState(second, selected));
    QVERIFY(selected);
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

void TestTreeOptions::editorLifeCycle()
{
    QTreeWidgetItem *source = AddEdit(QStringLiteral("Source Path: C:\\old"));
    QTreeWidgetItem *empty = AddEdit(QStringLiteral("File Mask"));
    QTreeWidgetItem *box = m_tree->AddCheckBoxItem(QStringLiteral("Box"), nullptr, false);

    ClickLabel(source);
    QCOMPARE(source->text(0), QStringLiteral("Source Path"));
    CTreeOptionsEdit *edit = m_tree->ActiveEdit();
    QVERIFY(edit && edit->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("C:\\old"));
    QVERIFY(m_tree->hasFocus()); // the keyboard stays with the tree
    QVERIFY(edit->geometry().left() > m_tree->LabelRect(source).right());

    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("D:\\new"));
    ClickRow(empty);
    QCOMPARE(source->text(0), QStringLiteral("Source Path: D:\\new"));
    QVERIFY(m_tree->ActiveEdit());
    QCOMPARE(m_tree->ActiveEdit()->text(), QString());

    // Leaving an unchanged empty editor gives the label and the separator.
    ClickRow(box);
    QCOMPARE(empty->text(0), QStringLiteral("File Mask: "));
    QVERIFY(!m_tree->EditItem());
    QTest::qWait(0);
    QVERIFY(m_tree->viewport()->findChildren<QLineEdit *>().isEmpty());
}

void TestTreeOptions::editorEnds_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"tab", "scroll bar", "wheel", "focus leaves", "commit from outside", "collapse"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestTreeOptions::editorEnds()
{
    QFETCH(QString, how);
    QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), 13, nullptr);
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Value: 1"), group);
    for (int i = 0; i < 60; ++i)
        m_tree->InsertItem(QStringLiteral("Filler %1").arg(i), 13);
    group->setExpanded(true);
    ClickLabel(item);
    QVERIFY(m_tree->ActiveEdit());
    QTest::mouseClick(m_tree->ActiveEdit(), Qt::LeftButton);
    m_tree->ActiveEdit()->selectAll();
    QTest::keyClicks(m_tree->ActiveEdit(), QStringLiteral("2"));

    if (how == u"tab") {
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
    QCOMPARE(item->text(0), QStringLiteral("Value: 2"));
    QVERIFY(!m_tree->EditItem());
    QVERIFY(!m_tree->ActiveEdit());

    // Clicking the item again opens its editor again.
    group->setExpanded(true);
    ClickLabel(item);
    QVERIFY(m_tree->ActiveEdit());
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("2"));
}

void TestTreeOptions::viewScrollingToNewItemKeepsEditor()
{
    for (int i = 0; i < 60; ++i)
        m_tree->InsertItem(QStringLiteral("Filler %1").arg(i), 13);
    QTreeWidgetItem *last = AddEdit(QStringLiteral("Last: x"));
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
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
    QVERIFY(m_tree->ActiveEdit());
    QVERIFY(m_tree->ActiveEdit()->isVisible());
    item->setHidden(true);
    QTRY_VERIFY(!m_tree->ActiveEdit()->isVisible());
    m_tree->topLevelItem(0)->setHidden(true); // the row moves up meanwhile
    item->setHidden(false);
    QTRY_VERIFY(m_tree->ActiveEdit()->isVisible());
    QCOMPARE(m_tree->ActiveEdit()->geometry().top(), m_tree->LabelRect(item).top());
}

void TestTreeOptions::rightArrowMovesFocusIntoEditor()
{
    QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), 13, nullptr);
    m_tree->InsertItem(QStringLiteral("Child"), 13, group);
    QTreeWidgetItem *list = m_tree->InsertItem(QStringLiteral("Sort By: File Name"), 12);
    m_tree->AttachComboBox(list, EditorClass<CSortComboBox>());

    // Without an editor the arrow expands as usual.
    m_tree->setCurrentItem(group);
    Key(Qt::Key_Right);
    QVERIFY(group->isExpanded());

    m_tree->setCurrentItem(list);
    QVERIFY(m_tree->ActiveCombo());
    QVERIFY(m_tree->hasFocus());
    Key(Qt::Key_Right);
    QVERIFY(m_tree->ActiveCombo()->hasFocus());
    QCOMPARE(m_tree->EditItem(), list);
    // Tab in the list gives the focus back to the tree and commits.
    Key(Qt::Key_Tab);
    QVERIFY(m_tree->hasFocus());
    QVERIFY(!m_tree->EditItem());
    QCOMPARE(list->text(0), QStringLiteral("Sort By: File Name"));
}

void TestTreeOptions::enterAndEscReachTheDialog_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    for (const char *where : {"tree", "edit", "list"}) {
        QTest::addRow("Enter in %s", where) << where << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::addRow("Esc in %s", where) << where << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
}

void TestTreeOptions::enterAndEscReachTheDialog()
{
    QFETCH(QString, where);
    QFETCH(int, key);
    QFETCH(int, result);
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *tree = new Tree(&dialog);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(tree);
    layout->addWidget(ok);
    QTreeWidgetItem *edit = tree->InsertItem(QStringLiteral("Text: a"), 11);
    tree->AttachEditBox(edit, EditorClass<CTreeOptionsEdit>());
    QTreeWidgetItem *list = tree->InsertItem(QStringLiteral("Operation: Always Prompt"), 12);
    tree->AttachComboBox(list, EditorClass<CSynchComboBox>());
    dialog.setResult(-1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    tree->setFocus();
    tree->setCurrentItem(where == u"list" ? list : edit);
    if (where != u"tree")
        QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(dialog.result(), result);
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

    AddEdit(QStringLiteral("Other: 1"));
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    QVERIFY(m_tree->ActiveEdit());
    m_tree->clear();
    QVERIFY(!m_tree->EditItem());

    // Destroying the tree writes nothing back.
    QTreeWidgetItem *last = AddEdit(QStringLiteral("Last: 1"));
    m_tree->setCurrentItem(last);
    QTest::keyClick(m_tree, Qt::Key_Right);
    QTest::keyClicks(m_tree->ActiveEdit(), QStringLiteral("typed"));
    int changes = 0;
    connect(m_tree, &QTreeWidget::itemChanged, this, [&changes] { ++changes; });
    delete m_tree;
    QCOMPARE(changes, 0);
}

// ------------------------------------------------------------------- lists

void TestTreeOptions::listEntries_data()
{
    QTest::addColumn<bool>("synch");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("operations") << true << QStringList{
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
    QTest::newRow("sort orders") << false << QStringList{"Unsorted", "File Name", "File Type", "File Date",
                                                         "File Size", "File Path", "File Checksum", "CRC32"};
}

void TestTreeOptions::listEntries()
{
    QFETCH(bool, synch);
    QFETCH(QStringList, entries);
    QTreeWidgetItem *item = m_tree->InsertItem(QStringLiteral("List: "), 12);
    m_tree->AttachComboBox(item, synch ? EditorClass<CSynchComboBox>() : EditorClass<CSortComboBox>());
    ClickLabel(item);
    CTreeOptionsCombo *combo = m_tree->ActiveCombo();
    QVERIFY(combo);
    QCOMPARE(combo->metaObject(), synch ? &CSynchComboBox::staticMetaObject : &CSortComboBox::staticMetaObject);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, entries);
}

void TestTreeOptions::listPreselection_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("selected");
    QTest::newRow("exact") << "Update & Prune Target (update, add new & remove orphans from target)" << 4;
    QTest::newRow("ignoring case") << "always prompt" << 9;
    QTest::newRow("first beginning with the value") << "Update" << 3;
    QTest::newRow("empty: nothing selected") << "" << -1;
    QTest::newRow("unmatched: nothing selected") << "Whatever" << -1;
}

void TestTreeOptions::listPreselection()
{
    QFETCH(QString, value);
    QFETCH(int, selected);
    const QString text = QStringLiteral("Operation: ") + value;
    QTreeWidgetItem *item = m_tree->InsertItem(text, 12);
    m_tree->AttachComboBox(item, EditorClass<CSynchComboBox>());
    QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), 13);
    ClickLabel(item);
    QVERIFY(m_tree->ActiveCombo());
    QCOMPARE(m_tree->ActiveCombo()->currentIndex(), selected);
    // Opening and leaving the list changes nothing (a match may differ in case).
    ClickRow(next);
    const QString expected = selected < 0 ? text : QStringLiteral("Operation: ") + OperationTexts()[selected];
    QCOMPARE(item->text(0), expected);
}

void TestTreeOptions::listChoiceThroughPopupIsCommitted()
{
    QTreeWidgetItem *item = m_tree->InsertItem(QStringLiteral("Operation: Produce Compare Report"), 12);
    m_tree->AttachComboBox(item, EditorClass<CSynchComboBox>());
    ClickLabel(item);
    CTreeOptionsCombo *combo = m_tree->ActiveCombo();
    QVERIFY(combo);
    QTest::mouseClick(combo, Qt::LeftButton); // focuses it and drops the list
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(m_tree->EditItem(), item); // the popup taking the focus does not end editing
    QTest::keyClick(combo->view(), Qt::Key_Home);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QTRY_VERIFY(!combo->view()->isVisible());
    QCOMPARE(m_tree->EditItem(), item);
    QVERIFY(combo->hasFocus());
    Key(Qt::Key_Tab);
    QCOMPARE(item->text(0), QStringLiteral("Operation: Synchronize Both (update & add new files both directions)"));
    QCOMPARE(OperationFromText(Tree::GetItemValueText(item)), 0);
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

    QTreeWidgetItem *copy = m_tree->DuplicateBranch(root, nullptr, root);
    QCOMPARE(m_tree->indexOfTopLevelItem(copy), 1);
    QCOMPARE(m_tree->indexOfTopLevelItem(tail), 2);
    QCOMPARE(TreeOptionsDumpBranch(copy), TreeOptionsDumpBranch(root));
    QCOMPARE(copy->data(0, Qt::UserRole + 1), root->data(0, Qt::UserRole + 1));
    QCOMPARE(copy->child(2)->data(0, Qt::UserRole + 2), QVariant(QStringLiteral("raw *.txt")));
    QVERIFY(Tree::GetItemInfo(copy->child(2)) != Tree::GetItemInfo(value));
    QCOMPARE(*Tree::GetItemInfo(copy->child(2)), *Tree::GetItemInfo(value));
    QVERIFY(!copy->isExpanded());

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
    QTreeWidgetItem *item = AddValue(text, info);
    QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), 13);

    if (kind == kKindFilePath)
        m_ui.fileChoices.push_back(cancel ? std::nullopt : std::optional<QString>(answer));
    else if (kind == kKindFolderPath)
        m_ui.folderChoices.push_back(answer);
    else if (kind == kKindColour)
        m_ui.colourChoices.push_back(cancel ? std::nullopt
                                            : std::optional<COLORREF>(RGB(answer.left(2).toInt(nullptr, 16),
                                                                          answer.mid(2, 2).toInt(nullptr, 16),
                                                                          answer.mid(4).toInt(nullptr, 16))));
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
    } else if (kind == kKindNone) {
        CLogFont font;
        QVERIFY(Tree::GetItemFont(item, font));
        QCOMPARE(font.faceName, answer);
        QCOMPARE(font.weight, 700);
    }
}

void TestTreeOptions::colourSquareIsDrawn()
{
    CTreeOptionsItemInfo info;
    info.m_nKind = kKindColour;
    info.m_pEditorClass = EditorClass<CTreeOptionsBrowseButton>();
    QTreeWidgetItem *item = AddValue(QStringLiteral("Colour"), info);
    Tree::SetItemColour(item, RGB(255, 0, 0));
    QCOMPARE(item->text(0), QStringLiteral("Colour: &FF0000"));
    QCOMPARE(Tree::GetItemColour(item), RGB(255, 0, 0));
    Tree::SetItemColour(item, RGB(0x12, 0xab, 0x0c));
    QCOMPARE(item->text(0), QStringLiteral("Colour: &12AB0C"));

    const QImage shot = m_tree->viewport()->grab().toImage();
    const QRect row = m_tree->visualItemRect(item);
    const QPoint inSquare(row.left() + 8, row.center().y());
    QCOMPARE(QColor(shot.pixel(inSquare * shot.devicePixelRatio())), QColor(0x12, 0xab, 0x0c));
}

void TestTreeOptions::spinBuddy()
{
    CTreeOptionsItemInfo info;
    info.m_nKind = kKindEdit;
    info.m_pEditorClass = EditorClass<CTreeOptionsEdit>();
    info.m_pBuddyClass = EditorClass<CTreeOptionsSpinCtrl>();
    QTreeWidgetItem *item = AddValue(QStringLiteral("Number: 99"), info);
    QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), 13);
    ClickLabel(item);
    CTreeOptionsSpinCtrl *spin = m_tree->ActiveSpin();
    QVERIFY(spin);
    QCOMPARE(spin->geometry().left(), m_tree->ActiveEdit()->geometry().right() + 1);
    auto *up = spin->findChild<QToolButton *>(QStringLiteral("up"));
    auto *down = spin->findChild<QToolButton *>(QStringLiteral("down"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("100"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("100"));
    QCOMPARE(m_tree->EditItem(), item); // clicking the spin keeps the editor open

    m_tree->ActiveEdit()->setText(QStringLiteral("x"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("0"));
    Key(Qt::Key_Right);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("2"));
    ClickRow(next);
    QCOMPARE(item->text(0), QStringLiteral("Number: 2"));
}

void TestTreeOptions::pastedLineBreaksBecomeSpaces()
{
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Message: "));
    m_tree->setCurrentItem(item);
    Key(Qt::Key_Right);
    QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree\u2029four"));
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_tree->ActiveEdit()->text(), QStringLiteral("one two three four"));
    Key(Qt::Key_Tab);
    QCOMPARE(item->text(0), QStringLiteral("Message: one two three four"));
}

void TestTreeOptions::editIsAtLeast20PixelsHigh()
{
    QFont small = m_tree->font();
    small.setPixelSize(7);
    m_tree->setFont(small);
    QTreeWidgetItem *item = AddEdit(QStringLiteral("Value: v"));
    QVERIFY(m_tree->visualItemRect(item).height() < 20);
    m_tree->setCurrentItem(item);
    QVERIFY(m_tree->ActiveEdit());
    QCOMPARE(m_tree->ActiveEdit()->height(), 20);
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
    QList<QImage> cells;
    for (int i = 0; i < CTreeOptionsImages::kCount; ++i) {
        const QImage image = strip.copy(i * cell, 0, cell, cell);
        QVERIFY2(image != QImage(cell, cell, image.format()), qPrintable(QString::number(i)));
        for (int j = 0; j < cells.size(); ++j)
            QVERIFY2(image != cells[j], qPrintable(QStringLiteral("cells %1 and %2").arg(j).arg(i)));
        cells << image;
    }
    if (dark) { // light strokes on a dark box
        const QColor box(cells[0].pixel(cell / 2, cell / 2));
        QVERIFY(box.lightness() < 80);
    }
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

    // Each value item opens its own editors: combo, edit, spin, browse button.
    const QStringList editors{"edit", "combo", "combo", "edit spin", "edit browse", "edit browse", "browse", "browse"};
    QTreeWidgetItem *values = root->child(2);
    for (int i = 0; i < values->childCount(); ++i) {
        m_tree->setCurrentItem(values->child(i));
        QStringList shown;
        if (m_tree->ActiveEdit())
            shown << "edit";
        if (m_tree->ActiveCombo())
            shown << "combo";
        if (m_tree->ActiveSpin())
            shown << "spin";
        if (m_tree->ActiveBrowse())
            shown << "browse";
        QCOMPARE(shown.join(u' '), editors[i]);
    }
}

QTEST_MAIN(TestTreeOptions)
#include "tst_treeoptions.moc"
