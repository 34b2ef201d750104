#pragma once
// The in-place editing of the options tree, which owns one session: the editor
// open on one item at a time. It opens beside the item's label (a list, an
// edit with its spin or browse buddy, or the browse button of a colour or font
// item) while the item shows its label alone, follows the row as the view
// moves, and writes the value back into the item when editing ends, reporting
// a change as the tree's ItemChanged. Enter and Tab give the keyboard back to
// the tree; Esc also restores the item as it was when editing began.
//
// Editing ends, the value written back, when the current item changes, the
// keyboard leaves the tree and its editors (pickers opened for it aside), the
// user scrolls, a branch holding the item collapses or the item's row is taken
// out of the tree; it ends without a write-back when the item is deleted, the
// model is reset or the tree is destroyed.

#include "treeoptions/TreeOptionsChange.h"

#include <QObject>
#include <QPointer>

class CTreeOptionsCtrl;
class CTreeOptionsCombo;
class CTreeOptionsEdit;
class CTreeOptionsSpinCtrl;
class CTreeOptionsBrowseButton;
class QModelIndex;
class QRect;
class QTreeWidgetItem;
class QWidget;

class CTreeOptionsEditSession : public QObject
{
    Q_OBJECT
public:
    explicit CTreeOptionsEditSession(CTreeOptionsCtrl &tree);
    // Removes any editor without writing it back.
    ~CTreeOptionsEditSession() override;

    CTreeOptionsCtrl &Tree() const { return m_tree; }
    // The item being edited and its editors; null while none is open.
    QTreeWidgetItem *Item() const { return m_pItem; }
    CTreeOptionsCombo *Combo() const { return m_pCombo; }
    CTreeOptionsEdit *Edit() const { return m_pEdit; }
    CTreeOptionsSpinCtrl *Spin() const { return m_pSpin; }
    CTreeOptionsBrowseButton *Browse() const { return m_pBrowse; }

    // Opens the editor of `item`, committing one open on another item first;
    // nothing for an item without an editor. The editor shows without the
    // keyboard, which stays with the tree until the user moves into it.
    void Begin(QTreeWidgetItem *item);
    // Writes the open editor's value into its item and removes the editor;
    // nothing when no editor is open. Safe to call at any time.
    void CommitAndEnd();
    // Esc in an editor: the item gets back the value it had when editing
    // began, the editor goes and the keyboard returns to the tree.
    void Cancel();
    // Enter in an editor: its value is kept and the keyboard returns to the tree.
    void Finish() { FocusTree(); }
    void FocusTree();
    // Commits, ends and reopens editing of the current item once the event
    // loop runs again (after a pick, so the new value shows).
    void ReEditCurrentItem();

    // Gives the keyboard to the open editor of the current item, its caret
    // after the value; false when the item has no editor of its own.
    bool FocusEditor();
    // Makes the item current and gives the keyboard to its editor, as F2 does;
    // false when it has none.
    bool FocusItemEditor(QTreeWidgetItem *item);
    // The item's value, or its open editor's while it has one.
    QString ShownValue(const QTreeWidgetItem *item) const;
    // Places the editors beside the edited item's label; an item inside a
    // collapsed branch has no row, and its editors wait hidden.
    void Place();
    // `item` is being deleted: when it is or holds the edited item, the editor
    // goes without a write-back.
    void ItemAboutToBeDeleted(QTreeWidgetItem *item);

    // Counts pickers open on behalf of the editors: the keyboard moving into
    // them does not end editing.
    class PickerScope
    {
    public:
        explicit PickerScope(CTreeOptionsEditSession *session);
        ~PickerScope();
        PickerScope(const PickerScope &) = delete;
        PickerScope &operator=(const PickerScope &) = delete;

    private:
        QPointer<CTreeOptionsEditSession> m_pSession;
    };

signals:
    // A value written back changed the edited item.
    void Changed(const CTreeOptionsChange &change);

private:
    // Writes the editor's value into the edited item; a font item already
    // holds what its picker chose.
    void Commit();
    void End();
    void OnBrowseClicked();
    void OnFocusChanged(QWidget *old, QWidget *now);
    void OnRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last);
    void OnCollapsed(QTreeWidgetItem *item);
    bool IsOwnWidget(const QWidget *widget) const;
    void PlaceSpinButton(const QRect &editRect);
    void PlaceBrowseButton(const QRect &textRect);

    CTreeOptionsCtrl &m_tree;
    QTreeWidgetItem *m_pItem = nullptr;
    CTreeOptionsCombo *m_pCombo = nullptr;
    CTreeOptionsEdit *m_pEdit = nullptr;
    CTreeOptionsSpinCtrl *m_pSpin = nullptr;
    CTreeOptionsBrowseButton *m_pBrowse = nullptr;
    CTreeOptionsBranchState m_before; // the edited item as it was when editing began
    int m_nPickersOpen = 0;
    bool m_bDestroying = false;
};
