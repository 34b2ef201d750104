#pragma once
// The options tree: a tree of group headings, check boxes (with indeterminate
// parents), radio groups and value items whose value is edited in place by a
// combo box or an edit box beside the label (CTreeOptionsEditSession). An
// item's check or radio state is its image alone (TreeOptionsImage); an
// editable item's text is its label, ": ", its value.
//
// Items are CTreeOptionsItem; a null parent means the root level. Records
// (CTreeOptionsItemInfo) given to an item are owned by it and freed with it. The
// selected item is the current item. Items the control makes of one kind share
// one record.

#include "treeoptions/TreeOptionsChange.h"
#include "treeoptions/TreeOptionsEditSession.h"
#include "treeoptions/TreeOptionsItem.h"
#include "treeoptions/TreeOptionsItemInfo.h"

#include <QPersistentModelIndex>
#include <QTreeWidget>

#include <functional>

class QStyleOptionViewItem;

class CTreeOptionsCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CTreeOptionsCtrl(QWidget *parent = nullptr);
    ~CTreeOptionsCtrl() override;

    // --- Insertion. Every insert works as well under a parent that is not in
    // any tree yet, so a whole branch can be built detached and added at once
    // with AddItem (much faster for big scripts: one insertion for the view).

    // A new item that is in no tree yet.
    static QTreeWidgetItem *NewItem(const QString &text, int image);
    // Puts `item` (detached, possibly with children) under `parent` (null: root
    // level) at `insertAfter`; returns it. O(1) for TVI_FIRST and TVI_LAST.
    QTreeWidgetItem *AddItem(QTreeWidgetItem *item, QTreeWidgetItem *parent, CTreeInsertPos insertAfter = TVI_LAST);
    // A plain item with `image` as its normal and selected image, no record.
    QTreeWidgetItem *InsertItem(const QString &text, int image, QTreeWidgetItem *parent = nullptr,
                                CTreeInsertPos insertAfter = TVI_LAST);
    QTreeWidgetItem *AddGroupItem(const QString &text, int image, QTreeWidgetItem *parent,
                                  CTreeInsertPos insertAfter = TVI_LAST);
    QTreeWidgetItem *AddCheckBoxItem(const QString &text, QTreeWidgetItem *parent, bool checked,
                                     CTreeInsertPos insertAfter = TVI_LAST);
    QTreeWidgetItem *AddRadioItem(const QString &text, QTreeWidgetItem *parent, bool selected,
                                  CTreeInsertPos insertAfter = TVI_LAST);
    // Attach a record of kind combo / edit naming the editor class, e.g.
    // EditorClass<CSynchComboBox>(), EditorClass<CTreeOptionsEdit>().
    void AttachComboBox(QTreeWidgetItem *item, const QMetaObject *comboClass);
    void AttachEditBox(QTreeWidgetItem *item, const QMetaObject *editClass);
    // Attach (or replace) a record filled by the caller: file and folder path,
    // number, colour and font items.
    void SetItemInfo(QTreeWidgetItem *item, const CTreeOptionsItemInfo &info);
    // The item's record, or null. Items of one kind share theirs: change a
    // record only through EditableItemInfo, which gives the item its own.
    static const CTreeOptionsItemInfo *GetItemInfo(const QTreeWidgetItem *item);
    static CTreeOptionsItemInfo *EditableItemInfo(QTreeWidgetItem *item);

    // --- Images and states.
    static int GetItemImage(const QTreeWidgetItem *item);
    static void SetItemImage(QTreeWidgetItem *item, int image);

    static bool IsCheckBoxItem(const QTreeWidgetItem *item);
    static bool IsRadioItem(const QTreeWidgetItem *item);
    static bool IsColourItem(const QTreeWidgetItem *item);
    // Each returns false only for a null item; the flag comes from the image.
    static bool GetCheckState(const QTreeWidgetItem *item, bool &checked);
    static bool GetRadioState(const QTreeWidgetItem *item, bool &selected);
    static bool IsCheckEnabled(const QTreeWidgetItem *item, bool &enabled);
    static bool IsCheckIndeterminate(const QTreeWidgetItem *item, bool &indeterminate);
    static bool IsRadioEnabled(const QTreeWidgetItem *item, bool &enabled);
    static void SetCheckState(QTreeWidgetItem *item, bool checked);
    static void SetCheckIndeterminate(QTreeWidgetItem *item, bool enabled);
    void SelectRadioItem(QTreeWidgetItem *item);
    void ToggleCheckBranch(QTreeWidgetItem *item, bool wasChecked);

    // --- The value convention: label, ": ", value. A value never holds a line
    // break: SetItemValueText turns line breaks into spaces.
    static QString GetItemValueText(const QTreeWidgetItem *item);
    static void SetItemValueText(QTreeWidgetItem *item, const QString &value);
    // The text an item showing `text` shows once its value is `value`.
    static QString TextWithValue(const QString &text, const QString &value);
    static void StripItemValue(QTreeWidgetItem *item);
    // The item's text up to its value.
    static QString ItemLabel(const QTreeWidgetItem *item);
    static COLORREF GetItemColour(const QTreeWidgetItem *item);
    static void SetItemColour(QTreeWidgetItem *item, COLORREF colour);
    static bool GetItemFont(const QTreeWidgetItem *item, CLogFont &font);
    static void SetItemFont(QTreeWidgetItem *item, const CLogFont &font);

    // --- Copying: the copy gets text, flags, image, every user data role and
    // its own copy of the record; not the expanded or selected state.
    virtual QTreeWidgetItem *DuplicateItem(QTreeWidgetItem *item, QTreeWidgetItem *newParent,
                                           CTreeInsertPos insertAfter);
    virtual QTreeWidgetItem *DuplicateBranch(QTreeWidgetItem *item, QTreeWidgetItem *newParent,
                                             CTreeInsertPos insertAfter);

    // --- In-place editing: the editor open on one item, its value written
    // back when editing ends (TreeOptionsEditSession).
    CTreeOptionsEditSession &EditSession() { return m_editSession; }
    const CTreeOptionsEditSession &EditSession() const { return m_editSession; }
    // Writes the open editor's value into its item and removes the editor;
    // nothing when no editor is open. Safe to call at any time.
    void CommitAndEndEdit() { m_editSession.CommitAndEnd(); }

    // The rectangle of the item's label text (its width is the text's), in
    // viewport coordinates; empty for an item that is not shown.
    QRect LabelRect(QTreeWidgetItem *item) const;
    // The expand button of the item, in viewport coordinates; empty when none.
    QRect ExpandButtonRect(QTreeWidgetItem *item) const;

    // --- What assistive tools see (TreeOptionsAccessible).
    // What a click on the item's row does: an enabled box toggles, an enabled
    // radio is selected (reported as ItemChanged), and the item becomes current.
    void PressItem(QTreeWidgetItem *item);
    // A short description of an item for assistive tools; none by default.
    using DescriptionSource = std::function<QString(const QTreeWidgetItem *item)>;
    void SetItemDescriptions(DescriptionSource source) { m_descriptions = std::move(source); }
    QString ItemDescription(const QTreeWidgetItem *item) const;
    // Changes whenever rows are added, removed, moved, expanded or collapsed.
    quint64 RowsGeneration() const { return m_nRowsGeneration; }
    QModelIndex IndexOfItem(const QTreeWidgetItem *item) const { return indexFromItem(item); }
    QTreeWidgetItem *ItemOfIndex(const QModelIndex &index) const { return itemFromIndex(index); }

signals:
    // An edit by the user changed items: a box or radio toggled, a value
    // committed from its editor (only when it differs), a colour or font picked.
    void ItemChanged(const CTreeOptionsChange &change);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    void OnCollapsed(QTreeWidgetItem *item);
    bool IsOnIconOrLabel(QTreeWidgetItem *item, const QPoint &pos) const;
    QStyleOptionViewItem ItemOption(QTreeWidgetItem *item) const;
    void Toggle(QTreeWidgetItem *item);
    // Reports the change of `branch` since `before`, when there is one.
    void ReportChange(QTreeWidgetItem *item, QTreeWidgetItem *branch, const CTreeOptionsBranchState &before);

    bool m_bDestroying = false;
    QPersistentModelIndex m_pressedIndex;
    DescriptionSource m_descriptions;
    quint64 m_nRowsGeneration = 0;
    // Made before the constructor's body runs, so it hears the tree's signals
    // first: a collapse commits the editor before the current item moves.
    CTreeOptionsEditSession m_editSession{*this};
};

// Suspends repainting of a widget for a scope and restores the state it found,
// so brackets nest.
class CRedrawGuard
{
public:
    explicit CRedrawGuard(QWidget *widget);
    ~CRedrawGuard();
    CRedrawGuard(const CRedrawGuard &) = delete;
    CRedrawGuard &operator=(const CRedrawGuard &) = delete;

private:
    QWidget *m_pWidget;
    bool m_bWasEnabled;
};
