// The options tree driven by real mouse, keyboard and focus input on the
// offscreen platform, with pickers answered by the scripted modal UI.

#include "framework/ScriptedModalUi.h"
#include "script/SettingCatalogue.h"
#include "scripttree/SortComboBox.h"
#include "scripttree/SynchComboBox.h"
#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsDump.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

using Tree = CTreeOptionsCtrl;
using Images = QList<int>;

class TestTreeOptions : public QObject
{
    Q_OBJECT
    std::unique_ptr<QDialog> m_window;
    Tree *m_tree = nullptr;
    QLineEdit *m_other = nullptr;
    ScriptedModalUi m_ui;
    std::unique_ptr<ScopedModalUi> m_install;

    QTreeWidgetItem *AddEdit(const QString &text, QTreeWidgetItem *parent = nullptr)
    {
        QTreeWidgetItem *item = m_tree->InsertItem(text, kImageText, parent);
        m_tree->AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
        return item;
    }

    // An item of `kind` with its editor and buddy, and a plain row after it.
    QTreeWidgetItem *AddWithInfo(const QString &text, uint kind, const QMetaObject *editor, const QMetaObject *buddy)
    {
        CTreeOptionsItemInfo info;
        info.m_nKind = kind;
        info.m_pEditorClass = editor;
        info.m_pBuddyClass = buddy;
        QTreeWidgetItem *item = m_tree->InsertItem(text, kImageText);
        m_tree->SetItemInfo(item, info);
        m_tree->InsertItem(QStringLiteral("Next"), kImageGroup);
        return item;
    }

    void ClickLabel(QTreeWidgetItem *item)
    {
        m_tree->scrollToItem(item);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->LabelRect(item).center());
    }

    void ClickRow(QTreeWidgetItem *item)
    {
        const QRect row = m_tree->visualItemRect(item);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, QPoint(row.right() - 5, row.center().y()));
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

private slots:
    void init()
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

    void cleanup()
    {
        QVERIFY2(m_ui.unexpected.isEmpty(), qPrintable(m_ui.unexpected.join(u", ")));
        m_window.reset();
        m_install.reset();
    }

    void clickAndSpaceToggle_data()
    {
        // Images of the parent and its two children before and after toggling one child.
        QTest::addColumn<Images>("before");
        QTest::addColumn<int>("toggled");
        QTest::addColumn<bool>("bySpace");
        QTest::addColumn<Images>("after");

        const int clear = kImageBox, ticked = kImageBoxTicked, mixed = kImageBoxMixed;
        QTest::newRow("last unchecked checked")
            << Images{clear, ticked, clear} << 1 << false << Images{ticked, ticked, ticked};
        QTest::newRow("indeterminate to all checked")
            << Images{mixed, ticked, clear} << 1 << false << Images{ticked, ticked, ticked};
        QTest::newRow("one of all checked unchecked")
            << Images{ticked, ticked, ticked} << 0 << false << Images{mixed, clear, ticked};
        QTest::newRow("last checked unchecked")
            << Images{mixed, ticked, clear} << 0 << false << Images{clear, clear, clear};
        QTest::newRow("disabled parent, one unchecked") << Images{kImageBoxTickedDisabled, ticked, ticked} << 0 << false
                                                        << Images{kImageBoxMixedDisabled, clear, ticked};
        QTest::newRow("space: one unchecked")
            << Images{ticked, ticked, ticked} << 1 << true << Images{mixed, ticked, clear};
        QTest::newRow("space: all checked")
            << Images{clear, clear, ticked} << 0 << true << Images{ticked, ticked, ticked};
        // Disabled boxes ignore clicks and space; the parent is not recomputed.
        for (int image : {kImageBoxDisabled, kImageBoxTickedDisabled, kImageBoxMixedDisabled}) {
            QTest::addRow("disabled %d, click", image)
                << Images{clear, image, clear} << 0 << false << Images{clear, image, clear};
            QTest::addRow("disabled %d, space", image)
                << Images{clear, image, clear} << 0 << true << Images{clear, image, clear};
        }
    }

    void clickAndSpaceToggle()
    {
        QFETCH(Images, before);
        QFETCH(int, toggled);
        QFETCH(bool, bySpace);
        QTreeWidgetItem *parent = m_tree->AddCheckBoxItem(QStringLiteral("Parent"), nullptr, false);
        QTreeWidgetItem *items[] = {parent, m_tree->AddCheckBoxItem(QStringLiteral("First"), parent, false),
                                    m_tree->AddCheckBoxItem(QStringLiteral("Second"), parent, false)};
        // Ignored in the count; its leading space is what the tree's keyboard
        // search finds when a space reaches it.
        QTreeWidgetItem *spaced = m_tree->AddGroupItem(QStringLiteral(" not a box"), kImageGroup, parent);
        for (int i = 0; i < 3; ++i)
            Tree::SetItemImage(items[i], before[i]);
        parent->setExpanded(true);

        QTreeWidgetItem *item = items[1 + toggled];
        std::vector<CTreeOptionsChange> reports;
        connect(m_tree, &Tree::ItemChanged, m_tree,
                [&](const CTreeOptionsChange &change) { reports.push_back(change); });
        if (bySpace) {
            m_tree->setCurrentItem(item);
            Key(Qt::Key_Space);
        } else {
            ClickRow(item);
        }
        Images after;
        for (QTreeWidgetItem *box : items)
            after << Tree::GetItemImage(box);
        QTEST(after, "after");
        // A change is reported with the parent box's branch before and after,
        // and that is enough to put the images back.
        QCOMPARE(reports.size(), size_t(after == before ? 0 : 1));
        if (!reports.empty()) {
            QVERIFY(reports[0].m_pItem == item && reports[0].m_pBranch == parent);
            QCOMPARE(reports[0].m_after, TreeOptionsBranchState(parent));
            SetTreeOptionsBranchState(parent, reports[0].m_before);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(Tree::GetItemImage(items[i]), before[i]);
        }
        // A box that takes the space uses it up; on a disabled one it goes on
        // to the tree, whose keyboard search moves on.
        QCOMPARE(m_tree->currentItem(), bySpace && after == before ? spaced : item);
    }

    void toggleSetsChildrenOnly()
    {
        QTreeWidgetItem *top = m_tree->AddCheckBoxItem(QStringLiteral("Top"), nullptr, false);
        QTreeWidgetItem *child = m_tree->AddCheckBoxItem(QStringLiteral("Child"), top, false);
        m_tree->AddCheckBoxItem(QStringLiteral("Grandchild"), child, false);
        m_tree->AddRadioItem(QStringLiteral("Radio"), top, true, TVI_FIRST);

        // The expand arrow expands without toggling.
        const QRect arrow = m_tree->ExpandButtonRect(top);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, arrow.center());
        QVERIFY(top->isExpanded());
        QCOMPARE(Tree::GetItemImage(top), kImageBox);

        child->setExpanded(true);
        ClickRow(top);
        QCOMPARE(TreeOptionsDump(*m_tree), QStringLiteral("Top [1]\n  Radio [3]\n  Child [1]\n    Grandchild [0]\n"));
        ClickLabel(top);
        QCOMPARE(TreeOptionsDump(*m_tree), QStringLiteral("Top [0]\n  Radio [3]\n  Child [0]\n    Grandchild [0]\n"));
    }

    void radioGroup()
    {
        QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), kImageGroup, nullptr);
        m_tree->AddRadioItem(QStringLiteral("First"), group, true);
        QTreeWidgetItem *second = m_tree->AddRadioItem(QStringLiteral("Second"), group, false);
        QTreeWidgetItem *disabled = m_tree->AddRadioItem(QStringLiteral("Disabled"), group, false);
        Tree::SetItemImage(disabled, kImageRadioOnDisabled);
        m_tree->AddCheckBoxItem(QStringLiteral("Box"), group, true);
        m_tree->AddRadioItem(QStringLiteral("Outside"), group, false);
        m_tree->AddGroupItem(QStringLiteral(" found by a space"), kImageGroup,
                             group); // what the tree's keyboard search would pick
        group->setExpanded(true);

        ClickRow(second);
        const QString selectedSecond = QStringLiteral("Group [13]\n  First [2]\n  Second [3]\n  Disabled [6]\n"
                                                      "  Box [1]\n  Outside [2]\n   found by a space [13]\n");
        QCOMPARE(TreeOptionsDump(*m_tree), selectedSecond);

        // Space on the selected radio is used up: nothing changes, the keyboard
        // search does not move the selection.
        Key(Qt::Key_Space);
        QCOMPARE(TreeOptionsDump(*m_tree), selectedSecond);
        QCOMPARE(m_tree->currentItem(), second);

        ClickRow(disabled);
        QCOMPARE(TreeOptionsDump(*m_tree), selectedSecond);
    }

    void editorLifeCycle_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how :
             {"next row", "tab", "scroll bar", "wheel", "focus leaves", "commit from outside", "collapse", "taken out"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    void editorLifeCycle()
    {
        QFETCH(QString, how);
        QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), kImageGroup, nullptr);
        QTreeWidgetItem *item = AddEdit(QStringLiteral("Source Path: C:\\old"), group);
        QTreeWidgetItem *empty = AddEdit(QStringLiteral("File Mask"), group);
        for (int i = 0; i < 60; ++i)
            m_tree->InsertItem(QStringLiteral("Filler %1").arg(i), kImageGroup);
        QTreeWidgetItem *last = AddEdit(QStringLiteral("Last: x"));
        group->setExpanded(true);

        ClickLabel(item);
        QCOMPARE(item->text(0), QStringLiteral("Source Path"));
        CTreeOptionsEdit *edit = m_tree->EditSession().Edit();
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
            QVERIFY(m_tree->EditSession().Edit());
            QCOMPARE(m_tree->EditSession().Edit()->text(), QString());
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
        } else if (how == u"taken out") { // and put back, as a move does
            const int row = m_tree->indexOfTopLevelItem(group);
            m_tree->insertTopLevelItem(row, m_tree->takeTopLevelItem(row));
        } else {
            group->setExpanded(false);
        }
        QCOMPARE(item->text(0), QStringLiteral("Source Path: D:\\new"));
        QVERIFY(!m_tree->EditSession().Item());
        QVERIFY(!m_tree->EditSession().Edit());
        QTest::qWait(0);
        QVERIFY(m_tree->viewport()->findChildren<QLineEdit *>().isEmpty());

        group->setExpanded(true);
        ClickLabel(item);
        QVERIFY(m_tree->EditSession().Edit());
        QCOMPARE(m_tree->EditSession().Edit()->text(), QStringLiteral("D:\\new"));

        // The view's own scrolling to the next selected item keeps that item's editor.
        Key(Qt::Key_End);
        QCOMPARE(m_tree->currentItem(), last);
        QVERIFY(m_tree->verticalScrollBar()->value() > 0);
        QVERIFY(m_tree->EditSession().Edit());
        QCOMPARE(m_tree->EditSession().Edit()->geometry().top(), m_tree->LabelRect(last).top());
    }

    void editorFollowsItsItem()
    {
        QTreeWidgetItem *above = m_tree->InsertItem(QStringLiteral("Above"), kImageGroup);
        QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), kImageGroup, nullptr);
        QTreeWidgetItem *item = AddEdit(QStringLiteral("Value: 1"), group);
        group->setExpanded(true);
        m_tree->setCurrentItem(item);
        QVERIFY(m_tree->EditSession().Edit() && m_tree->EditSession().Edit()->isVisible());
        // Hidden, the editor waits and comes back at the row's new place.
        item->setHidden(true);
        QTRY_VERIFY(!m_tree->EditSession().Edit()->isVisible());
        above->setHidden(true);
        item->setHidden(false);
        QTRY_VERIFY(m_tree->EditSession().Edit()->isVisible());
        QCOMPARE(m_tree->EditSession().Edit()->geometry().top(), m_tree->LabelRect(item).top());
        delete group;
        QVERIFY(!m_tree->EditSession().Item());

        m_tree->setCurrentItem(AddEdit(QStringLiteral("Other: 1")));
        QVERIFY(m_tree->EditSession().Edit());
        m_tree->clear();
        QVERIFY(!m_tree->EditSession().Item());

        // Destroying the tree writes nothing back.
        m_tree->setCurrentItem(AddEdit(QStringLiteral("Last: 1")));
        Key(Qt::Key_Right);
        QTest::keyClicks(m_tree->EditSession().Edit(), QStringLiteral("typed"));
        int changes = 0;
        connect(m_tree, &QTreeWidget::itemChanged, this, [&changes] { ++changes; });
        delete m_tree;
        QCOMPARE(changes, 0);
    }

    void keysInEditors_data()
    {
        // In an editor Enter keeps the value, Esc drops it; in the tree both are the dialog's.
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result"); // -1: the dialog saw nothing
        QTest::addColumn<QString>("text");
        QTest::newRow("Enter in tree") << "tree" << int(Qt::Key_Return) << int(QDialog::Accepted) << "Text: a";
        QTest::newRow("Esc in tree") << "tree" << int(Qt::Key_Escape) << int(QDialog::Rejected) << "Text: a";
        QTest::newRow("Enter in list") << "list" << int(Qt::Key_Return) << -1 << "Sort By: File Type";
        QTest::newRow("Esc in list") << "list" << int(Qt::Key_Escape) << -1 << "Sort By: File Name";
    }

    void keysInEditors()
    {
        QFETCH(QString, where);
        QFETCH(int, key);
        QFETCH(int, result);
        QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Group"), kImageGroup, nullptr);
        m_tree->InsertItem(QStringLiteral("Child"), kImageGroup, group);
        QTreeWidgetItem *edit = AddEdit(QStringLiteral("Text: a"));
        QTreeWidgetItem *list = m_tree->InsertItem(QStringLiteral("Sort By: File Name"), kImageList);
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
            QCOMPARE(QApplication::focusWidget(), where == u"list"
                                                      ? static_cast<QWidget *>(m_tree->EditSession().Combo())
                                                      : m_tree->EditSession().Edit());
        }
        m_window->setResult(-1);
        QFETCH(QString, text);
        if (where != u"tree")
            Key(where == u"list" ? Qt::Key_Down : Qt::Key_B);
        Key(key);
        QCOMPARE(m_window->result(), result);
        QVERIFY(m_tree->hasFocus() || where == u"tree"); // the dialog closed
        m_tree->CommitAndEndEdit();
        QCOMPARE(m_tree->currentItem()->text(0), text);
    }

    void lists_data()
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
    }

    void lists()
    {
        QFETCH(bool, synch);
        QFETCH(QString, value);
        QFETCH(int, selected);
        const QStringList entries = synch ? OperationTexts() : SortTexts();
        const QString text = QStringLiteral("List: ") + value;
        QTreeWidgetItem *item = m_tree->InsertItem(text, kImageList);
        m_tree->AttachComboBox(item, synch ? EditorClass<CSynchComboBox>() : EditorClass<CSortComboBox>());
        QTreeWidgetItem *next = m_tree->InsertItem(QStringLiteral("Next"), kImageGroup);

        ClickLabel(item);
        CTreeOptionsCombo *combo = m_tree->EditSession().Combo();
        QVERIFY(combo);
        QCOMPARE(combo->count(), entries.size()); // the last entry, chosen below, is the list's own
        QCOMPARE(combo->currentIndex(), selected);
        // Opening and leaving the list changes nothing (a match may differ in case).
        ClickRow(next);
        QCOMPARE(item->text(0), selected < 0 ? text : QStringLiteral("List: ") + entries[selected]);

        // A choice from the drop-down list is committed; the popup taking the
        // focus does not end editing, Tab gives the focus back to the tree.
        ClickLabel(item);
        combo = m_tree->EditSession().Combo();
        QTest::mouseClick(combo, Qt::LeftButton); // focuses it and drops the list
        QTRY_VERIFY(combo->view()->isVisible());
        QCOMPARE(m_tree->EditSession().Item(), item);
        QTest::keyClick(combo->view(), Qt::Key_End);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_VERIFY(!combo->view()->isVisible());
        QCOMPARE(m_tree->EditSession().Item(), item);
        QVERIFY(combo->hasFocus());
        Key(Qt::Key_Tab);
        QVERIFY(m_tree->hasFocus());
        QVERIFY(!m_tree->EditSession().Item());
        QCOMPARE(item->text(0), QStringLiteral("List: ") + entries.last());
    }

    void duplicateBranchIsIndependent()
    {
        QTreeWidgetItem *root = m_tree->InsertItem(QStringLiteral("Action1"), kImageText);
        QTreeWidgetItem *box = m_tree->AddCheckBoxItem(QStringLiteral("Box"), root, false);
        m_tree->AddCheckBoxItem(QStringLiteral("Inner"), box, true);
        m_tree->AddRadioItem(QStringLiteral("Radio"), root, true, TVI_FIRST);
        QTreeWidgetItem *value = AddEdit(QStringLiteral("Mask: *.txt"), root);
        root->setExpanded(true);

        QTreeWidgetItem *copy = m_tree->DuplicateBranch(root, nullptr, root);
        QCOMPARE(m_tree->indexOfTopLevelItem(copy), 1);
        QCOMPARE(TreeOptionsDumpBranch(copy), TreeOptionsDumpBranch(root));
        QVERIFY(Tree::GetItemInfo(copy->child(2)) != Tree::GetItemInfo(value));
        QVERIFY(!copy->isExpanded());

        // Toggling the copy leaves the source alone; deleting the source leaves
        // the copy's records intact.
        const QString source = TreeOptionsDumpBranch(root);
        copy->setExpanded(true);
        ClickRow(copy->child(1));
        QCOMPARE(TreeOptionsDumpBranch(root), source);
        QCOMPARE(Tree::GetItemImage(copy->child(1)), kImageBoxTicked);
        const QString copied = TreeOptionsDumpBranch(copy);
        delete root;
        QCOMPARE(TreeOptionsDumpBranch(copy), copied);
        QVERIFY(Tree::IsCheckBoxItem(copy->child(1)->child(0)));
        ClickLabel(copy->child(2));
        QVERIFY(m_tree->EditSession().Edit());
        QCOMPARE(m_tree->EditSession().Edit()->text(), QStringLiteral("*.txt"));

        // An item being edited is copied with its value, not its bare label.
        QTreeWidgetItem *again = m_tree->DuplicateBranch(copy, nullptr, TVI_LAST);
        QCOMPARE(copy->child(2)->text(0), QStringLiteral("Mask: *.txt"));
        QCOMPARE(TreeOptionsDumpBranch(again), TreeOptionsDumpBranch(copy));

        QTreeWidgetItem *first = m_tree->DuplicateItem(copy, nullptr, TVI_FIRST); // without the children
        QCOMPARE(m_tree->indexOfTopLevelItem(first), 0);
        QCOMPARE(first->childCount(), 0);
    }

    void pickers_data()
    {
        QTest::addColumn<uint>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("answer"); // "-" cancels
        QTest::addColumn<QString>("expected");

        QTest::newRow("file") << uint(kKindFilePath) << "File: /old/a: b.txt"
                              << "/new/b.txt"
                              << "File: /new/b.txt";
        QTest::newRow("file with line breaks") << uint(kKindFilePath) << "File"
                                               << "/new/a\r\nb\nc\rd"
                                               << "File: /new/a b c d";
        QTest::newRow("file cancelled") << uint(kKindFilePath) << "File: /old/a.txt"
                                        << "-"
                                        << "File: /old/a.txt";
        QTest::newRow("folder") << uint(kKindFolderPath) << "Folder: /srv/old"
                                << "/srv/new"
                                << "Folder: /srv/new";
        QTest::newRow("colour") << uint(kKindColour) << "Colour: &FF0000"
                                << "00C0FF"
                                << "Colour: &00C0FF";
        QTest::newRow("colour cancelled") << uint(kKindColour) << "Colour: &FF0000"
                                          << "-"
                                          << "Colour: &FF0000";
        QTest::newRow("font") << uint(kKindNone) << "Font: Serif"
                              << "Monospace"
                              << "Font: Monospace";
    }

    void pickers()
    {
        QFETCH(uint, kind);
        QFETCH(QString, text);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        const bool cancel = answer == u"-";
        const bool path = kind == kKindFilePath || kind == kKindFolderPath;

        const QMetaObject *browse = EditorClass<CTreeOptionsBrowseButton>();
        QTreeWidgetItem *item = path ? AddWithInfo(text, kind, EditorClass<CTreeOptionsEdit>(), browse)
                                     : AddWithInfo(text, kind, browse, nullptr);
        QTreeWidgetItem *next = m_tree->itemBelow(item);

        const QColor colour(u'#' + answer);
        if (kind == kKindFilePath)
            m_ui.fileChoices.push_back(cancel ? std::nullopt : std::optional<QString>(answer));
        else if (kind == kKindFolderPath)
            m_ui.folderChoices.push_back(answer);
        else if (kind == kKindColour)
            m_ui.colourChoices.push_back(
                cancel ? std::nullopt : std::optional<COLORREF>(RGB(colour.red(), colour.green(), colour.blue())));
        else
            m_ui.fontChoices.push_back(CLogFont{answer, 11, 700});

        ClickLabel(item);
        CTreeOptionsBrowseButton *button = m_tree->EditSession().Browse();
        QVERIFY(button);
        QCOMPARE(bool(m_tree->EditSession().Edit()), path);
        if (path) {
            QCOMPARE(item->text(0), text.left(text.indexOf(u':')));
            QCOMPARE(button->geometry().left(), m_tree->EditSession().Edit()->geometry().right() + 2);
        } else {
            QCOMPARE(item->text(0), text); // the whole text stays visible
            QVERIFY(button->geometry().left() > m_tree->LabelRect(item).right());
        }
        std::vector<CTreeOptionsChange> reports;
        connect(m_tree, &Tree::ItemChanged, m_tree,
                [&](const CTreeOptionsChange &change) { reports.push_back(change); });
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(0); // a colour or font pick reopens the editor later
        QCOMPARE(m_tree->EditSession().Item(), item);
        ClickRow(next);
        QCOMPARE(item->text(0), expected);
        if (kind == kKindFilePath) {
            QCOMPARE(m_ui.fileRequests.size(), 1);
            QCOMPARE(m_ui.fileRequests.first().mode, FileDialogRequest::Mode::Open);
            QCOMPARE(m_ui.fileRequests.first().initialFile, text.mid(6));
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
        }
        // One report of what the pick changed, none for a cancelled one; its
        // before puts the item back, colour and font included.
        QCOMPARE(reports.size(), size_t(cancel ? 0 : 1));
        if (!cancel) {
            QVERIFY(reports[0].m_pItem == item && reports[0].m_pBranch == item);
            QCOMPARE(reports[0].m_after, TreeOptionsBranchState(item));
            SetTreeOptionsBranchState(item, reports[0].m_before);
            QCOMPARE(item->text(0), text);
            QCOMPARE(Tree::GetItemColour(item), RGB(255, 0, 0));
            CLogFont font;
            Tree::GetItemFont(item, font);
            QCOMPARE(font, CLogFont());
        }
    }

    void spinBuddyAndPaste()
    {
        // However small the font, the editor keeps a usable height.
        QFont small = m_tree->font();
        small.setPixelSize(7);
        m_tree->setFont(small);
        QTreeWidgetItem *item = AddWithInfo(QStringLiteral("Number: 99"), kKindEdit, EditorClass<CTreeOptionsEdit>(),
                                            EditorClass<CTreeOptionsSpinCtrl>());
        QVERIFY(m_tree->visualItemRect(item).height() < 20);
        ClickLabel(item);
        QCOMPARE(m_tree->EditSession().Edit()->height(), 20);
        CTreeOptionsSpinCtrl *spin = m_tree->EditSession().Spin();
        QVERIFY(spin);
        QCOMPARE(spin->geometry().left(), m_tree->EditSession().Edit()->geometry().right() + 1);
        auto *up = spin->findChild<QToolButton *>(QStringLiteral("up"));
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(m_tree->EditSession().Edit()->text(), QStringLiteral("100"));
        QCOMPARE(m_tree->EditSession().Item(), item); // clicking the spin keeps the editor open

        m_tree->EditSession().Edit()->setText(QStringLiteral("x"));
        QTest::mouseClick(spin->findChild<QToolButton *>(QStringLiteral("down")), Qt::LeftButton);
        QCOMPARE(m_tree->EditSession().Edit()->text(), QStringLiteral("0"));
        Key(Qt::Key_Right);
        Key(Qt::Key_Up);
        Key(Qt::Key_Up);
        QCOMPARE(m_tree->EditSession().Edit()->text(), QStringLiteral("2"));

        // Pasted line breaks become spaces.
        m_tree->EditSession().Edit()->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree\u2029four"));
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_tree->EditSession().Edit()->text(), QStringLiteral("one two three four"));
        ClickRow(m_tree->itemBelow(item));
        QCOMPARE(item->text(0), QStringLiteral("Number: one two three four"));
    }

    void imageStripCellsShowTheirStates_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("dark");
        QTest::newRow("ratio 1") << 1.0 << false;
        QTest::newRow("ratio 2") << 2.0 << false;
        QTest::newRow("ratio 2, dark theme") << 2.0 << true;
    }

    void imageStripCellsShowTheirStates()
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
            QVERIFY(QColor(cells[kImageBox + 1].pixel(cell / 2, cell / 2)).lightness() < 80);

        // Each state cell shows its own marks, so two swapped cells fail.
        const auto near = [](QRgb a, QColor b) {
            return qAbs(qRed(a) - b.red()) < 40 && qAbs(qGreen(a) - b.green()) < 40 && qAbs(qBlue(a) - b.blue()) < 40;
        };
        const auto at = [&](int i, qreal x, qreal y) { return cells[i + 1].pixel(int(x * ratio), int(y * ratio)); };
        const QColor red(215, 38, 38);
        const QColor base = QColor(at(kImageBox, 12, 8.5)); // inside the empty box, off every stroke
        const auto in = [](int i, std::initializer_list<int> images) {
            return std::find(images.begin(), images.end(), i) != images.end();
        };
        for (int i = kImageBox; i <= kImageBoxMixedDisabled; ++i) {
            bool crossed = false;
            for (int p = 0; p < cell * cell; ++p)
                crossed = crossed || near(cells[i + 1].pixel(p % cell, p / cell), red);
            QVERIFY2(crossed
                         == in(i, {kImageBoxDisabled, kImageBoxTickedDisabled, kImageRadioDisabled,
                                   kImageRadioOnDisabled, kImageBoxMixedDisabled}),
                     qPrintable(QStringLiteral("red cross in cell %1").arg(i)));
            const bool mixed = in(i, {kImageBoxMixed, kImageBoxMixedDisabled});
            const QRgb fill = at(i, 12, 8.5);
            if (!in(i, {kImageRadio, kImageRadioOn, kImageRadioDisabled, kImageRadioOnDisabled})) {
                const bool ticked = mixed || in(i, {kImageBoxTicked, kImageBoxTickedDisabled});
                QVERIFY2(!near(at(i, 5.24, 8.68), QColor(fill)) == ticked,
                         qPrintable(QStringLiteral("tick in cell %1").arg(i)));
                QVERIFY2(!near(fill, base) == mixed, qPrintable(QStringLiteral("grey ground in cell %1").arg(i)));
            } else {
                const QRgb centre = at(i, 8, 8);
                QVERIFY2((!near(centre, base) && !near(centre, red)) == in(i, {kImageRadioOn, kImageRadioOnDisabled}),
                         qPrintable(QStringLiteral("dot in cell %1").arg(i)));
            }
        }
    }

    void accessibleRows_data()
    {
        // A row as assistive tools see it, then its action: a box or radio
        // toggles as space does, a value row gives its editor the keyboard.
        QTest::addColumn<int>("row"); // below the column header
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("editorRole"); // none for a box or radio
        QTest::newRow("check box") << 0 << int(QAccessible::CheckBox) << "Exclude Hidden Files"
                                   << "" << QAccessibleActionInterface::toggleAction() << 0;
        QTest::newRow("radio button") << 3 << int(QAccessible::RadioButton) << "Update"
                                      << "" << QAccessibleActionInterface::pressAction() << 0;
        QTest::newRow("list value") << 4 << int(QAccessible::TreeItem) << "Sort"
                                    << "File Date" << QAccessibleActionInterface::pressAction()
                                    << int(QAccessible::ComboBox);
        QTest::newRow("text value") << 5 << int(QAccessible::TreeItem) << "Source Path"
                                    << "C:\\Projects" << QAccessibleActionInterface::pressAction()
                                    << int(QAccessible::EditableText);
    }

    void accessibleRows()
    {
        QFETCH(int, row);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(int, editorRole);
        m_tree->AddCheckBoxItem(QStringLiteral("Exclude Hidden Files"), nullptr, false);
        QTreeWidgetItem *group = m_tree->AddGroupItem(QStringLiteral("Operation"), kImageGroup, nullptr);
        m_tree->AddRadioItem(QStringLiteral("Synchronize"), group, true);
        m_tree->AddRadioItem(QStringLiteral("Update"), group, false);
        group->setExpanded(true);
        m_tree->AttachComboBox(m_tree->InsertItem(QStringLiteral("Sort: File Date"), kImageList),
                               EditorClass<CSortComboBox>());
        AddEdit(QStringLiteral("Source Path: C:\\Projects"));

        QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(m_tree);
        QVERIFY(!tree->child(tree->childCount() - 1)->state().focused); // the viewport passes the keyboard on
        QAccessibleInterface *cell = tree->child(1 + row);
        QVERIFY(cell);
        QCOMPARE(tree->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
        QCOMPARE(int(cell->role()), role);
        QCOMPARE(cell->text(QAccessible::Name), name);
        QCOMPARE(cell->text(QAccessible::Value), value);
        QCOMPARE(cell->textInterface() ? cell->textInterface()->text(0, value.size()) : QString(), value);
        QCOMPARE(cell->state().checkable, !editorRole);
        QVERIFY(!cell->state().checked);
        QSignalSpy edits(m_tree, &Tree::ItemChanged);
        QFETCH(QString, action);
        cell->actionInterface()->doAction(action);
        QCOMPARE(edits.count(), editorRole ? 0 : 1); // the edit undo records
        if (!editorRole) {
            QVERIFY(cell->state().checked);
            return;
        }
        // The editor has the keyboard and holds the value; the row still says it.
        QAccessibleInterface *editor = tree->focusChild();
        QVERIFY(editor);
        QCOMPARE(int(editor->role()), editorRole);
        QVERIFY(editor->state().focused);
        if (QAccessibleTextInterface *text = editor->textInterface()) {
            QCOMPARE(editor->text(QAccessible::Name), name);
            QCOMPARE(text->text(0, text->characterCount()), value);
        }
        QCOMPARE(editor->text(QAccessible::Value), value);
        QCOMPARE(tree->indexOfChild(editor->parent()), tree->childCount() - 1);
        QCOMPARE(cell->text(QAccessible::Value), value);
    }
};

QTEST_MAIN(TestTreeOptions)
#include "tst_treeoptions.moc"
