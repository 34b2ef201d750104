#include "treeoptions/TreeOptionsCtrl.h"

#include "treeoptions/SingleLine.h"
#include "treeoptions/TreeOptionsAccessible.h"
#include "treeoptions/TreeOptionsImages.h"
#include "treeoptions/TreeOptionsItemDelegate.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace {

CTreeOptionsItem *AsOptionsItem(const QTreeWidgetItem *item)
{
    return item && item->type() == CTreeOptionsItem::kType
               ? static_cast<CTreeOptionsItem *>(const_cast<QTreeWidgetItem *>(item))
               : nullptr;
}

bool ImageIn(const QTreeWidgetItem *item, std::initializer_list<int> images)
{
    const int image = CTreeOptionsCtrl::GetItemImage(item);
    for (int i : images)
        if (i == image)
            return true;
    return false;
}

void ShareInfo(QTreeWidgetItem *item, quint32 kind, const QMetaObject *editorClass)
{
    if (CTreeOptionsItem *options = AsOptionsItem(item))
        options->ShareInfo(kind, editorClass);
}

} // namespace

CRedrawGuard::CRedrawGuard(QWidget *widget) : m_pWidget(widget), m_bWasEnabled(widget && widget->updatesEnabled())
{
    if (m_bWasEnabled)
        m_pWidget->setUpdatesEnabled(false);
}

CRedrawGuard::~CRedrawGuard()
{
    if (m_bWasEnabled)
        m_pWidget->setUpdatesEnabled(true);
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

    connect(&m_editSession, &CTreeOptionsEditSession::Changed, this, &CTreeOptionsCtrl::ItemChanged);
    connect(this, &QTreeWidget::itemCollapsed, this, &CTreeOptionsCtrl::OnCollapsed);
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
    // The edit session, destroyed next, removes any editor without writing it back.
    m_bDestroying = true;
    disconnect(model(), nullptr, this, nullptr);
    disconnect(this, nullptr, this, nullptr);
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
        const int at =
            parent ? parent->indexOfChild(insertAfter.sibling()) : indexOfTopLevelItem(insertAfter.sibling());
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
    const qsizetype separator = text.indexOf(TreeValueSeparator());
    return separator < 0 ? QString() : text.mid(separator + TreeValueSeparator().size());
}

void CTreeOptionsCtrl::SetItemValueText(QTreeWidgetItem *item, const QString &value)
{
    if (item)
        item->setText(0, TextWithValue(item->text(0), value));
}

QString CTreeOptionsCtrl::TextWithValue(const QString &text, const QString &value)
{
    const qsizetype separator = text.indexOf(TreeValueSeparator());
    const QString label =
        separator < 0 ? text + TreeValueSeparator() : text.left(separator + TreeValueSeparator().size());
    return label + SingleLine(value);
}

QString CTreeOptionsCtrl::ItemLabel(const QTreeWidgetItem *item)
{
    const QString text = item ? item->text(0) : QString();
    return text.left(text.indexOf(TreeValueSeparator()));
}

void CTreeOptionsCtrl::StripItemValue(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString text = item->text(0);
    const qsizetype separator = text.indexOf(TreeValueSeparator());
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
    SetItemValueText(
        item, QString::asprintf("&%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour)).toUpper());
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
    if (item == m_editSession.Item())
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

void CTreeOptionsCtrl::OnCollapsed(QTreeWidgetItem *item)
{
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
    if (event->button() == Qt::LeftButton && pressed && !m_editSession.Item() && itemAt(pos) == pressed
        && IsOnIconOrLabel(pressed, pos))
        m_editSession.Begin(pressed);
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
    if (event->key() == Qt::Key_Right && m_editSession.Item() && m_editSession.FocusEditor()) {
        event->accept();
        return;
    }
    // F2 opens the editor of the current value (again, after scrolling closed it).
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier && caret) {
        m_editSession.FocusItemEditor(caret);
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

void CTreeOptionsCtrl::wheelEvent(QWheelEvent *event)
{
    CommitAndEndEdit();
    QTreeWidget::wheelEvent(event);
}

void CTreeOptionsCtrl::scrollContentsBy(int dx, int dy)
{
    QTreeWidget::scrollContentsBy(dx, dy);
    m_editSession.Place();
}

void CTreeOptionsCtrl::updateGeometries()
{
    QTreeWidget::updateGeometries();
    m_editSession.Place();
}
