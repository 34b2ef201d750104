#include "treeoptions/TreeOptionsCtrl.h"

#include "script/SettingCatalogue.h"
#include "treeoptions/SingleLine.h"
#include "treeoptions/TreeOptionsAccessible.h"
#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsCombo.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"
#include "treeoptions/TreeOptionsItemDelegate.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace {

CTreeOptionsItem *AsOptionsItem(const QTreeWidgetItem *item)
{
    return item && item->type() == CTreeOptionsItem::kType
               ? static_cast<CTreeOptionsItem *>(const_cast<QTreeWidgetItem *>(item)) : nullptr;
}

bool ImageIn(const QTreeWidgetItem *item, std::initializer_list<int> images)
{
    const int image = CTreeOptionsCtrl::GetItemImage(item);
    for (int i : images)
        if (i == image)
            return true;
    return false;
}

bool Derives(const QMetaObject *cls, const QMetaObject &base)
{
    return cls && cls->inherits(&base);
}

void ShareInfo(QTreeWidgetItem *item, quint32 kind, const QMetaObject *editorClass)
{
    if (CTreeOptionsItem *options = AsOptionsItem(item))
        options->ShareInfo(kind, editorClass);
}

} // namespace

CRedrawGuard::CRedrawGuard(QWidget *widget)
    : m_pWidget(widget), m_bWasEnabled(widget && widget->updatesEnabled())
{
    if (m_bWasEnabled)
        m_pWidget->setUpdatesEnabled(false);
}

CRedrawGuard::~CRedrawGuard()
{
    if (m_bWasEnabled)
        m_pWidget->setUpdatesEnabled(true);
}

CTreeOptionsCtrl::PickerScope::PickerScope(CTreeOptionsCtrl *tree) : m_pTree(tree)
{
    if (m_pTree)
        ++m_pTree->m_nPickersOpen;
}

CTreeOptionsCtrl::PickerScope::~PickerScope()
{
    if (m_pTree)
        --m_pTree->m_nPickersOpen;
}

CTreeOptionsCtrl::CTreeOptionsCtrl(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(CTreeOptionsImages::kCellSize, CTreeOptionsImages::kCellSize));
    setItemDelegate(new CTreeOptionsItemDelegate(this));
    InstallTreeOptionsAccessible();

    connect(this, &QTreeWidget::currentItemChanged, this, &CTreeOptionsCtrl::OnCurrentItemChanged);
    connect(this, &QTreeWidget::itemCollapsed, this, &CTreeOptionsCtrl::OnCollapsed);
    connect(qApp, &QApplication::focusChanged, this, &CTreeOptionsCtrl::OnFocusChanged);
    // Scrolling by the user ends editing; the view's own scrolling to the
    // current item (which changes the value too) must not.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] {
            if (m_hEditItem) {
                CommitItemEdit(m_hEditItem);
                EndItemEdit();
            }
        });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, &CTreeOptionsCtrl::OnRowsAboutToBeRemoved);
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] { EndItemEdit(); });
    auto rowsChanged = [this] { ++m_nRowsGeneration; };
    connect(model(), &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(model(), &QAbstractItemModel::rowsMoved, this, rowsChanged);
    connect(model(), &QAbstractItemModel::layoutChanged, this, rowsChanged);
    connect(model(), &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(this, &QTreeView::expanded, this, rowsChanged);
    connect(this, &QTreeView::collapsed, this, rowsChanged);
}

CTreeOptionsCtrl::~CTreeOptionsCtrl()
{
    // Destroying the tree removes any editor without writing it back.
    m_bDestroying = true;
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(model(), nullptr, this, nullptr);
    disconnect(this, nullptr, this, nullptr);
    verticalScrollBar()->disconnect(this);
    horizontalScrollBar()->disconnect(this);
    EndItemEdit();
}

// ---------------------------------------------------------------- insertion

QTreeWidgetItem *CTreeOptionsCtrl::NewItem(const QString &text, int image)
{
    return new CTreeOptionsItem(text, image);
}

QTreeWidgetItem *CTreeOptionsCtrl::AddItem(QTreeWidgetItem *item, QTreeWidgetItem *parent, CTreeInsertPos insertAfter)
{
    if (!item)
        return nullptr;
    const int count = parent ? parent->childCount() : topLevelItemCount();
    int index = count;
    if (insertAfter.where() == CTreeInsertPos::Where::First) {
        index = 0;
    } else if (insertAfter.where() == CTreeInsertPos::Where::After) {
        const int at = parent ? parent->indexOfChild(insertAfter.sibling()) : indexOfTopLevelItem(insertAfter.sibling());
        index = at >= 0 ? at + 1 : count;
    }
    if (parent)
        parent->insertChild(index, item);
    else
        insertTopLevelItem(index, item);
    return item;
}

QTreeWidgetItem *CTreeOptionsCtrl::InsertItem(const QString &text, int image, QTreeWidgetItem *parent,
                                              CTreeInsertPos insertAfter)
{
    return AddItem(NewItem(text, image), parent, insertAfter);
}

QTreeWidgetItem *CTreeOptionsCtrl::AddGroupItem(const QString &text, int image, QTreeWidgetItem *parent,
                                                CTreeInsertPos insertAfter)
{
    return InsertItem(text, image, parent, insertAfter);
}

QTreeWidgetItem *CTreeOptionsCtrl::AddCheckBoxItem(const QString &text, QTreeWidgetItem *parent, bool checked,
                                                   CTreeInsertPos insertAfter)
{
    auto *item = new CTreeOptionsItem(text, kImageBox);
    ShareInfo(item, kKindCheckBox, nullptr);
    SetCheckState(item, checked);
    return AddItem(item, parent, insertAfter);
}

QTreeWidgetItem *CTreeOptionsCtrl::AddRadioItem(const QString &text, QTreeWidgetItem *parent, bool selected,
                                                CTreeInsertPos insertAfter)
{
    auto *item = new CTreeOptionsItem(text, kImageRadio);
    ShareInfo(item, kKindRadio, nullptr);
    AddItem(item, parent, insertAfter);
    if (selected)
        SelectRadioItem(item);
    return item;
}

void CTreeOptionsCtrl::AttachComboBox(QTreeWidgetItem *item, const QMetaObject *comboClass)
{
    ShareInfo(item, kKindCombo, comboClass);
}

void CTreeOptionsCtrl::AttachEditBox(QTreeWidgetItem *item, const QMetaObject *editClass)
{
    ShareInfo(item, kKindEdit, editClass);
}

void CTreeOptionsCtrl::SetItemInfo(QTreeWidgetItem *item, const CTreeOptionsItemInfo &info)
{
    if (CTreeOptionsItem *options = AsOptionsItem(item))
        options->SetInfo(info);
}

const CTreeOptionsItemInfo *CTreeOptionsCtrl::GetItemInfo(const QTreeWidgetItem *item)
{
    const CTreeOptionsItem *options = AsOptionsItem(item);
    return options ? options->Info() : nullptr;
}

CTreeOptionsItemInfo *CTreeOptionsCtrl::EditableItemInfo(QTreeWidgetItem *item)
{
    CTreeOptionsItem *options = AsOptionsItem(item);
    return options ? options->EditableInfo() : nullptr;
}

// ---------------------------------------------------------- images, states

int CTreeOptionsCtrl::GetItemImage(const QTreeWidgetItem *item)
{
    if (const CTreeOptionsItem *options = AsOptionsItem(item))
        return options->Image();
    const QVariant image = item ? item->data(0, kImageIndexRole) : QVariant();
    return image.isValid() ? image.toInt() : -1;
}

void CTreeOptionsCtrl::SetItemImage(QTreeWidgetItem *item, int image)
{
    if (CTreeOptionsItem *options = AsOptionsItem(item))
        options->SetImage(image);
    else if (item)
        item->setData(0, kImageIndexRole, image);
}

bool CTreeOptionsCtrl::IsCheckBoxItem(const QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = GetItemInfo(item);
    return info && info->m_nKind == kKindCheckBox;
}

bool CTreeOptionsCtrl::IsRadioItem(const QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = GetItemInfo(item);
    return info && info->m_nKind == kKindRadio;
}

bool CTreeOptionsCtrl::IsColourItem(const QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = GetItemInfo(item);
    return info && info->m_nKind == kKindColour;
}

bool CTreeOptionsCtrl::GetCheckState(const QTreeWidgetItem *item, bool &checked)
{
    checked = ImageIn(item, {kImageBoxTicked, kImageBoxTickedDisabled, kImageBoxMixed, kImageBoxMixedDisabled});
    return item != nullptr;
}

bool CTreeOptionsCtrl::GetRadioState(const QTreeWidgetItem *item, bool &selected)
{
    selected = ImageIn(item, {kImageRadioOn, kImageRadioOnDisabled});
    return item != nullptr;
}

bool CTreeOptionsCtrl::IsCheckEnabled(const QTreeWidgetItem *item, bool &enabled)
{
    enabled = ImageIn(item, {kImageBox, kImageBoxTicked, kImageBoxMixed});
    return item != nullptr;
}

bool CTreeOptionsCtrl::IsCheckIndeterminate(const QTreeWidgetItem *item, bool &indeterminate)
{
    indeterminate = ImageIn(item, {kImageBoxMixed, kImageBoxMixedDisabled});
    return item != nullptr;
}

bool CTreeOptionsCtrl::IsRadioEnabled(const QTreeWidgetItem *item, bool &enabled)
{
    enabled = ImageIn(item, {kImageRadio, kImageRadioOn});
    return item != nullptr;
}

void CTreeOptionsCtrl::SetCheckState(QTreeWidgetItem *item, bool checked)
{
    if (!checked)
        SetItemImage(item, kImageBox);
    else
        SetItemImage(item, ImageIn(item, {kImageBoxMixed, kImageBoxMixedDisabled}) ? kImageBoxMixed : kImageBoxTicked);
}

void CTreeOptionsCtrl::SetCheckIndeterminate(QTreeWidgetItem *item, bool enabled)
{
    SetItemImage(item, enabled ? kImageBoxMixed : kImageBoxMixedDisabled);
}

void CTreeOptionsCtrl::SelectRadioItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    CRedrawGuard noRedraw(this);
    QTreeWidgetItem *parent = item->parent();
    const bool topLevel = !parent && item->treeWidget() == this;
    const int count = parent ? parent->childCount() : topLevel ? topLevelItemCount() : 1;
    // The group is the leading run of radio items among the parent's children.
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem *child = parent ? parent->child(i) : topLevel ? topLevelItem(i) : item;
        if (!IsRadioItem(child))
            break;
        if (child == item)
            SetItemImage(child, kImageRadioOn);
        else
            SetItemImage(child, ImageIn(child, {kImageRadio, kImageRadioOn}) ? kImageRadio : kImageRadioDisabled);
    }
}

void CTreeOptionsCtrl::ToggleCheckBranch(QTreeWidgetItem *item, bool wasChecked)
{
    if (!item)
        return;
    CRedrawGuard noRedraw(this);
    SetCheckState(item, !wasChecked);
    for (int i = 0; i < item->childCount(); ++i)
        if (IsCheckBoxItem(item->child(i)))
            SetCheckState(item->child(i), !wasChecked);

    QTreeWidgetItem *parent = item->parent();
    if (!parent || !IsCheckBoxItem(parent))
        return;
    int boxes = 0;
    int checkedBoxes = 0;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem *child = parent->child(i);
        if (!IsCheckBoxItem(child))
            continue;
        bool checked = false;
        GetCheckState(child, checked);
        ++boxes;
        checkedBoxes += checked ? 1 : 0;
    }
    if (checkedBoxes == boxes) {
        SetCheckState(parent, false); // clears an indeterminate look
        SetCheckState(parent, true);
    } else if (checkedBoxes == 0) {
        SetCheckState(parent, false);
    } else {
        bool enabled = false;
        IsCheckEnabled(parent, enabled);
        SetCheckIndeterminate(parent, enabled);
    }
}

// --------------------------------------------------------------- value text

QString CTreeOptionsCtrl::GetItemValueText(const QTreeWidgetItem *item)
{
    if (!item)
        return QString();
    const QString text = item->text(0);
    const qsizetype separator = text.indexOf(ValueSeparator());
    return separator < 0 ? QString() : text.mid(separator + ValueSeparator().size());
}

void CTreeOptionsCtrl::SetItemValueText(QTreeWidgetItem *item, const QString &value)
{
    if (item)
        item->setText(0, TextWithValue(item->text(0), value));
}

QString CTreeOptionsCtrl::TextWithValue(const QString &text, const QString &value)
{
    const qsizetype separator = text.indexOf(ValueSeparator());
    const QString label = separator < 0 ? text + ValueSeparator()
                                        : text.left(separator + ValueSeparator().size());
    return label + SingleLine(value);
}

void CTreeOptionsCtrl::StripItemValue(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString text = item->text(0);
    const qsizetype separator = text.indexOf(ValueSeparator());
    if (separator >= 0)
        item->setText(0, text.left(separator));
}

COLORREF CTreeOptionsCtrl::GetItemColour(const QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = GetItemInfo(item);
    return info ? info->m_crColour : CTreeOptionsItemInfo().m_crColour;
}

void CTreeOptionsCtrl::SetItemColour(QTreeWidgetItem *item, COLORREF colour)
{
    if (CTreeOptionsItemInfo *info = EditableItemInfo(item))
        info->m_crColour = colour;
    SetItemValueText(item, QString::asprintf("&%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                                             GetBValue(colour)).toUpper());
}

bool CTreeOptionsCtrl::GetItemFont(const QTreeWidgetItem *item, CLogFont &font)
{
    const CTreeOptionsItemInfo *info = GetItemInfo(item);
    font = info ? info->m_lfFont : CLogFont();
    return info != nullptr;
}

void CTreeOptionsCtrl::SetItemFont(QTreeWidgetItem *item, const CLogFont &font)
{
    if (CTreeOptionsItemInfo *info = EditableItemInfo(item))
        info->m_lfFont = font;
    SetItemValueText(item, font.faceName);
}

// ------------------------------------------------------------------ copying

QTreeWidgetItem *CTreeOptionsCtrl::DuplicateItem(QTreeWidgetItem *item, QTreeWidgetItem *newParent,
                                                 CTreeInsertPos insertAfter)
{
    if (!item)
        return nullptr;
    // An item being edited shows its label alone: copy it with its value.
    if (item == m_hEditItem)
        CommitAndEndEdit();
    return AddItem(CTreeOptionsItem::CopyOf(*item), newParent, insertAfter);
}

QTreeWidgetItem *CTreeOptionsCtrl::DuplicateBranch(QTreeWidgetItem *item, QTreeWidgetItem *newParent,
                                                   CTreeInsertPos insertAfter)
{
    if (!item)
        return nullptr;
    CRedrawGuard noRedraw(this);
    QTreeWidgetItem *copy = DuplicateItem(item, newParent, insertAfter);
    const int children = item->childCount(); // a copy placed under `item` itself is not copied again
    for (int i = 0; i < children; ++i)
        DuplicateBranch(item->child(i), copy, TVI_LAST);
    return copy;
}

// ------------------------------------------------------------------ layout

QStyleOptionViewItem CTreeOptionsCtrl::ItemOption(QTreeWidgetItem *item) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = indexFromItem(item, 0);
    option.rect = visualItemRect(item);
    if (const auto *delegate = qobject_cast<const CTreeOptionsItemDelegate *>(itemDelegate()))
        delegate->InitOption(&option, index);
    return option;
}

QRect CTreeOptionsCtrl::LabelRect(QTreeWidgetItem *item) const
{
    if (!item || visualItemRect(item).isEmpty())
        return QRect();
    const QStyleOptionViewItem option = ItemOption(item);
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = option.fontMetrics.horizontalAdvance(item->text(0)) + 2 * margin;
    if (width < text.width())
        text.setWidth(width);
    return text;
}

QRect CTreeOptionsCtrl::ExpandButtonRect(QTreeWidgetItem *item) const
{
    const QRect row = item ? visualItemRect(item) : QRect();
    if (row.isEmpty() || item->childIndicatorPolicy() == QTreeWidgetItem::DontShowIndicator)
        return QRect();
    if (item->childCount() == 0 && item->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator)
        return QRect();
    if (!item->parent() && !rootIsDecorated())
        return QRect();
    return QRect(row.left() - indentation(), row.top(), indentation(), row.height());
}

bool CTreeOptionsCtrl::IsOnIconOrLabel(QTreeWidgetItem *item, const QPoint &pos) const
{
    const QRect row = visualItemRect(item);
    const QRect label = LabelRect(item);
    return !label.isEmpty() && QRect(QPoint(row.left(), row.top()), label.bottomRight()).contains(pos);
}

// ------------------------------------------------------------------ editing

void CTreeOptionsCtrl::BeginItemEdit(QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = GetItemInfo(item);
    if (!info || !info->m_pEditorClass)
        return;
    if (m_hEditItem) {
        CommitItemEdit(m_hEditItem);
        EndItemEdit();
    }
    QObject *editor = info->m_pEditorClass->newInstance();
    auto *combo = qobject_cast<CTreeOptionsCombo *>(editor);
    auto *edit = qobject_cast<CTreeOptionsEdit *>(editor);
    auto *browse = qobject_cast<CTreeOptionsBrowseButton *>(editor);
    if (!combo && !edit && !browse) {
        delete editor;
        return;
    }
    m_hEditItem = item;
    m_editBefore = TreeOptionsBranchState(item);
    QWidget *primary = static_cast<QWidget *>(editor);
    primary->setParent(viewport());
    primary->setFont(font());
    // Assistive tools name the editor after the item's label.
    const QString text = item->text(0);
    primary->setAccessibleName(text.left(text.indexOf(ValueSeparator())));
    if (combo || edit) {
        // The item shows its label alone while its value is in the editor.
        const QString value = GetItemValueText(item);
        StripItemValue(item);
        if (combo) {
            combo->m_pOwnerTree = this;
            m_pActiveCombo = combo;
            combo->SetValue(value);
        } else {
            edit->m_pOwnerTree = this;
            edit->setText(value);
            edit->setCursorPosition(0);
            m_pActiveEdit = edit;
        }
    } else {
        browse->m_pOwnerTree = this;
        browse->setText(browse->GetButtonText());
        if (info->m_nKind == kKindColour)
            browse->m_crColour = info->m_crColour;
        else
            browse->m_lfFont = info->m_lfFont;
        m_pActiveBrowse = browse;
    }

    if (edit && info->m_pBuddyClass) {
        QObject *buddy = info->m_pBuddyClass->newInstance();
        if (auto *spin = qobject_cast<CTreeOptionsSpinCtrl *>(buddy)) {
            spin->m_pOwnerTree = this;
            spin->m_pEdit = edit;
            edit->m_pSpin = spin;
            m_pActiveSpin = spin;
        } else if (auto *button = qobject_cast<CTreeOptionsBrowseButton *>(buddy)) {
            button->m_pOwnerTree = this;
            button->m_pEdit = edit;
            button->setText(button->GetButtonText());
            button->setAccessibleName(QStringLiteral("Browse"));
            edit->m_pBrowseButton = button;
            m_pActiveBrowse = button;
        } else {
            delete buddy;
        }
        for (QWidget *widget : {static_cast<QWidget *>(m_pActiveSpin), static_cast<QWidget *>(m_pActiveBrowse)})
            if (widget) {
                widget->setParent(viewport());
                widget->setFont(font());
            }
    }
    if (m_pActiveBrowse)
        connect(m_pActiveBrowse, &QPushButton::clicked, this, &CTreeOptionsCtrl::OnBrowseClicked);

    // Shown without the focus: the keyboard stays with the tree until the
    // user moves into the editor.
    PlaceEditors();
}

void CTreeOptionsCtrl::PlaceEditors()
{
    if (!m_hEditItem)
        return;
    const QRect row = visualItemRect(m_hEditItem);
    const QRect text = LabelRect(m_hEditItem);
    // An item inside a collapsed branch has no row: its editors wait hidden.
    const bool shown = !row.isEmpty() && !text.isEmpty();
    for (QWidget *widget : {static_cast<QWidget *>(m_pActiveCombo), static_cast<QWidget *>(m_pActiveEdit),
                            static_cast<QWidget *>(m_pActiveSpin), static_cast<QWidget *>(m_pActiveBrowse)})
        if (widget && !shown)
            widget->hide();
    if (!shown)
        return;
    const int fullRight = row.x() + row.width(); // exclusive, as are the rights below
    const int textRight = text.x() + text.width();
    const int left = textRight + 2;
    const int top = text.top();
    if (m_pActiveCombo) {
        const int right = fullRight - 1;
        m_pActiveCombo->setGeometry(left, top, qMax(right - left, 20),
                                    qMax(m_pActiveCombo->sizeHint().height(), text.height()));
    } else if (m_pActiveEdit) {
        const int buddyWidth = m_pActiveBrowse ? m_pActiveBrowse->GetButtonWidth()
                               : m_pActiveSpin  ? m_pActiveSpin->GetLayoutWidth()
                                                : 0;
        const int right = fullRight - buddyWidth - 1;
        const QRect editRect(left, top, qMax(right - left, 20), m_pActiveEdit->GetMinHeight(text.height()));
        m_pActiveEdit->setGeometry(editRect);
        if (m_pActiveSpin)
            PlaceSpinButton(editRect);
        if (m_pActiveBrowse)
            PlaceBrowseButton(text);
    } else if (m_pActiveBrowse) {
        PlaceBrowseButton(text);
    }
    for (QWidget *widget : {static_cast<QWidget *>(m_pActiveCombo), static_cast<QWidget *>(m_pActiveEdit),
                            static_cast<QWidget *>(m_pActiveSpin), static_cast<QWidget *>(m_pActiveBrowse)})
        if (widget)
            widget->show();
}

void CTreeOptionsCtrl::PlaceSpinButton(const QRect &editRect)
{
    // The spin sits at the edit's right edge and takes its width off the edit.
    const int width = qMin(m_pActiveSpin->sizeHint().width(), editRect.width() / 2);
    QRect edit = editRect;
    edit.setWidth(editRect.width() - width);
    m_pActiveEdit->setGeometry(edit);
    m_pActiveSpin->setGeometry(edit.x() + edit.width(), edit.top(), width, edit.height());
}

void CTreeOptionsCtrl::PlaceBrowseButton(const QRect &textRect)
{
    const int width = m_pActiveBrowse->GetButtonWidth();
    if (m_pActiveEdit) {
        const QRect edit = m_pActiveEdit->geometry();
        m_pActiveBrowse->setGeometry(edit.x() + edit.width() + 1, edit.top(), width, edit.height());
    } else {
        m_pActiveBrowse->setGeometry(textRect.x() + textRect.width() + 1, textRect.top(), width, textRect.height());
    }
}

void CTreeOptionsCtrl::CommitItemEdit(QTreeWidgetItem *)
{
    if (!m_hEditItem)
        return;
    if (m_pActiveCombo) {
        SetItemValueText(m_hEditItem, m_pActiveCombo->Value());
    } else if (m_pActiveEdit) {
        SetItemValueText(m_hEditItem, m_pActiveEdit->text());
    } else if (m_pActiveBrowse && IsColourItem(m_hEditItem)) {
        SetItemColour(m_hEditItem, m_pActiveBrowse->m_crColour);
    }
    // A font item already holds what its picker chose.
    ReportChange(m_hEditItem, m_hEditItem, m_editBefore);
    m_editBefore = TreeOptionsBranchState(m_hEditItem);
}

void CTreeOptionsCtrl::EndItemEdit()
{
    QWidget *editors[] = {m_pActiveCombo, m_pActiveEdit, m_pActiveSpin, m_pActiveBrowse};
    m_pActiveCombo = nullptr;
    m_pActiveEdit = nullptr;
    m_pActiveSpin = nullptr;
    m_pActiveBrowse = nullptr;
    m_hEditItem = nullptr;
    const QWidget *focus = QApplication::focusWidget();
    for (QWidget *editor : editors) {
        if (!editor)
            continue;
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->hidePopup();
        // The keyboard returns to the tree rather than wandering along the
        // dialog when the editor that has it goes away.
        if (!m_bDestroying && focus && (focus == editor || editor->isAncestorOf(focus)))
            setFocus(Qt::OtherFocusReason);
        editor->disconnect(this);
        editor->hide();
        // Later: this may run inside the editor's own event handler.
        editor->deleteLater();
    }
}

void CTreeOptionsCtrl::CommitAndEndEdit()
{
    if (!m_hEditItem)
        return;
    CommitItemEdit(currentItem());
    EndItemEdit();
}

void CTreeOptionsCtrl::CancelEdit()
{
    QTreeWidgetItem *item = m_hEditItem;
    if (!item)
        return;
    EndItemEdit();
    SetTreeOptionsBranchState(item, m_editBefore);
    setFocus(Qt::OtherFocusReason);
}

void CTreeOptionsCtrl::ReEditCurrentItem()
{
    QMetaObject::invokeMethod(this, [this] {
        if (QTreeWidgetItem *caret = currentItem()) {
            CommitItemEdit(caret);
            EndItemEdit();
            BeginItemEdit(caret);
        }
    }, Qt::QueuedConnection);
}

void CTreeOptionsCtrl::OnBrowseClicked()
{
    QTreeWidgetItem *caret = currentItem();
    const CTreeOptionsItemInfo *info = GetItemInfo(caret);
    if (!info)
        return;
    if (Derives(info->m_pEditorClass, CTreeOptionsEdit::staticMetaObject)) {
        QPointer<CTreeOptionsEdit> edit = m_pActiveEdit;
        if (!edit || (info->m_nKind != kKindFilePath && info->m_nKind != kKindFolderPath))
            return;
        edit->m_bBrowsing = true;
        const QString current = edit->text();
        if (info->m_nKind == kKindFilePath)
            edit->BrowseFile(current);
        else
            edit->BrowseFolder(current);
        if (edit)
            edit->m_bBrowsing = false;
    } else if (m_pActiveBrowse) {
        if (info->m_nKind == kKindColour)
            m_pActiveBrowse->PickColour();
        else
            m_pActiveBrowse->PickFont();
    }
}

void CTreeOptionsCtrl::FocusTree()
{
    setFocus(Qt::TabFocusReason);
}

void CTreeOptionsCtrl::ItemAboutToBeDeleted(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *edited = m_hEditItem; edited; edited = edited->parent())
        if (edited == item) {
            EndItemEdit();
            return;
        }
}

bool CTreeOptionsCtrl::IsOwnWidget(const QWidget *widget) const
{
    // Across window borders, so the combo's drop-down popup counts as the combo's.
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

void CTreeOptionsCtrl::OnFocusChanged(QWidget *old, QWidget *now)
{
    if (!m_hEditItem || m_bDestroying || m_nPickersOpen > 0 || (m_pActiveEdit && m_pActiveEdit->m_bBrowsing))
        return;
    // Only the focus leaving the tree or its editors can end editing.
    if (!IsOwnWidget(old))
        return;
    // A colour or font button losing the focus leaves the editing alone.
    if (old == m_pActiveBrowse && !m_pActiveBrowse->m_pEdit)
        return;
    // Moves between the tree's editors, into their popups, or from the tree
    // into an editor keep editing; back into the tree or out of it end it.
    if (now && now != this && IsOwnWidget(now))
        return;
    CommitAndEndEdit();
}

void CTreeOptionsCtrl::OnCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *)
{
    if (m_hEditItem) {
        CommitItemEdit(m_hEditItem);
        EndItemEdit();
    }
    BeginItemEdit(current);
}

void CTreeOptionsCtrl::OnRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last)
{
    if (!m_hEditItem)
        return;
    // An item taken out of the tree (not deleted) keeps what was typed.
    const QTreeWidgetItem *parentItem = itemFromIndex(parent);
    for (QTreeWidgetItem *item = m_hEditItem; item; item = item->parent()) {
        if (item->parent() != parentItem)
            continue;
        const int row = parentItem ? parentItem->indexOfChild(item) : indexOfTopLevelItem(item);
        if (row >= first && row <= last) {
            CommitItemEdit(m_hEditItem);
            EndItemEdit();
        }
        return;
    }
}

void CTreeOptionsCtrl::OnCollapsed(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *edited = m_hEditItem ? m_hEditItem->parent() : nullptr; edited; edited = edited->parent())
        if (edited == item) {
            CommitAndEndEdit();
            break;
        }
    // A hidden item is never the one a command acts on: the collapsed item
    // takes over, as in native tree views.
    for (QTreeWidgetItem *hidden = currentItem() ? currentItem()->parent() : nullptr; hidden; hidden = hidden->parent())
        if (hidden == item) {
            setCurrentItem(item);
            return;
        }
}

// ------------------------------------------------------------------- input

void CTreeOptionsCtrl::ReportChange(QTreeWidgetItem *item, QTreeWidgetItem *branch,
                                    const CTreeOptionsBranchState &before)
{
    if (m_bDestroying)
        return;
    CTreeOptionsBranchState after = TreeOptionsBranchState(branch);
    if (after != before)
        emit ItemChanged(CTreeOptionsChange{item, branch, before, std::move(after)});
}

void CTreeOptionsCtrl::Toggle(QTreeWidgetItem *item)
{
    const bool box = IsCheckBoxItem(item);
    if (!box && !IsRadioItem(item))
        return;
    // A box changes its children and its parent box; a radio its siblings.
    QTreeWidgetItem *parent = item->parent() ? item->parent() : invisibleRootItem();
    QTreeWidgetItem *branch = !box || IsCheckBoxItem(parent) ? parent : item;
    const CTreeOptionsBranchState before = TreeOptionsBranchState(branch);
    bool enabled = false;
    if (box) {
        if (IsCheckEnabled(item, enabled) && enabled) {
            CRedrawGuard noRedraw(this);
            bool checked = false;
            GetCheckState(item, checked);
            ToggleCheckBranch(item, checked);
        }
    } else {
        bool selected = false;
        if (IsRadioEnabled(item, enabled) && enabled && GetRadioState(item, selected) && !selected)
            SelectRadioItem(item);
    }
    ReportChange(item, branch, before);
}

void CTreeOptionsCtrl::PressItem(QTreeWidgetItem *item)
{
    if (!item || item->treeWidget() != this)
        return;
    Toggle(item);
    setCurrentItem(item);
}

bool CTreeOptionsCtrl::FocusItemEditor(QTreeWidgetItem *item)
{
    if (!item || item->treeWidget() != this)
        return false;
    setCurrentItem(item);
    if (!m_hEditItem)
        BeginItemEdit(item);
    return m_hEditItem == item && FocusEditor();
}

QString CTreeOptionsCtrl::ShownValue(const QTreeWidgetItem *item) const
{
    if (item && item == m_hEditItem) {
        if (m_pActiveCombo)
            return m_pActiveCombo->Value();
        if (m_pActiveEdit)
            return m_pActiveEdit->text();
    }
    return GetItemValueText(item);
}

QString CTreeOptionsCtrl::ItemDescription(const QTreeWidgetItem *item) const
{
    return m_descriptions && item ? m_descriptions(item) : QString();
}

void CTreeOptionsCtrl::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    QTreeWidget::dataChanged(topLeft, bottomRight, roles);
    TreeOptionsRowsChanged(*this, topLeft, bottomRight);
}

void CTreeOptionsCtrl::mousePressEvent(QMouseEvent *event)
{
    m_pressedIndex = QPersistentModelIndex();
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        QTreeWidgetItem *item = itemAt(pos);
        // Anywhere on the row except the expand button.
        if (item && !ExpandButtonRect(item).contains(pos)) {
            m_pressedIndex = indexFromItem(item);
            Toggle(item);
        }
    }
    QTreeWidget::mousePressEvent(event);
}

void CTreeOptionsCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidgetItem *pressed = m_pressedIndex.isValid() ? itemFromIndex(m_pressedIndex) : nullptr;
    m_pressedIndex = QPersistentModelIndex();
    QTreeWidget::mouseReleaseEvent(event);
    // A click on the icon or label of an item whose editor was closed (by
    // scrolling, say) opens it again.
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && pressed && !m_hEditItem && itemAt(pos) == pressed
        && IsOnIconOrLabel(pressed, pos))
        BeginItemEdit(pressed);
}

void CTreeOptionsCtrl::keyPressEvent(QKeyEvent *event)
{
    QTreeWidgetItem *caret = currentItem();
    if (event->key() == Qt::Key_Space && event->text() == QStringLiteral(" ") && caret) {
        bool enabled = false;
        if (IsCheckBoxItem(caret) && IsCheckEnabled(caret, enabled) && enabled) {
            Toggle(caret);
            event->accept();
            return;
        }
        if (IsRadioItem(caret) && IsRadioEnabled(caret, enabled) && enabled) {
            Toggle(caret); // a selected radio stays selected; the key is used up either way
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Right && m_hEditItem && FocusEditor()) {
        event->accept();
        return;
    }
    // F2 opens the editor of the current value (again, after scrolling closed it).
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier && caret) {
        FocusItemEditor(caret);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
    // Enter and Esc belong to the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        event->ignore();
}

void CTreeOptionsCtrl::focusInEvent(QFocusEvent *event)
{
    QTreeWidget::focusInEvent(event);
    // The view makes its first item current when it gets the focus without
    // one, but leaves it unselected: what a command acts on always shows.
    if (QTreeWidgetItem *current = currentItem(); current && !current->isSelected())
        setCurrentItem(current);
}

QItemSelectionModel::SelectionFlags CTreeOptionsCtrl::selectionCommand(const QModelIndex &index,
                                                                       const QEvent *event) const
{
    // One item is selected, and it is the current one: Ctrl+click or Ctrl+Space
    // on it never deselects it.
    const QItemSelectionModel::SelectionFlags flags = QTreeWidget::selectionCommand(index, event);
    if (index.isValid() && (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return flags;
}

bool CTreeOptionsCtrl::FocusEditor()
{
    const CTreeOptionsItemInfo *info = GetItemInfo(currentItem());
    const QMetaObject *cls = info ? info->m_pEditorClass : nullptr;
    QWidget *target = nullptr;
    if (Derives(cls, CTreeOptionsCombo::staticMetaObject))
        target = m_pActiveCombo;
    else if (Derives(cls, CTreeOptionsEdit::staticMetaObject))
        target = m_pActiveEdit;
    else if (Derives(cls, CTreeOptionsBrowseButton::staticMetaObject))
        target = m_pActiveBrowse;
    else
        return false;
    if (target && target->isVisible()) {
        target->setFocus(Qt::OtherFocusReason);
        // Typing goes on after the value, as in every editor opened by keyboard.
        if (target == m_pActiveEdit)
            m_pActiveEdit->end(false);
    }
    return true;
}

void CTreeOptionsCtrl::wheelEvent(QWheelEvent *event)
{
    if (m_hEditItem) {
        CommitItemEdit(m_hEditItem);
        EndItemEdit();
    }
    QTreeWidget::wheelEvent(event);
}

void CTreeOptionsCtrl::scrollContentsBy(int dx, int dy)
{
    QTreeWidget::scrollContentsBy(dx, dy);
    PlaceEditors();
}

void CTreeOptionsCtrl::updateGeometries()
{
    QTreeWidget::updateGeometries();
    PlaceEditors();
}
