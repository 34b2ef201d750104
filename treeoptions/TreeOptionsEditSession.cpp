#include "treeoptions/TreeOptionsEditSession.h"

#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsCombo.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"

#include <QApplication>
#include <QScrollBar>

namespace {

bool Derives(const QMetaObject *cls, const QMetaObject &base)
{
    return cls && cls->inherits(&base);
}

} // namespace

CTreeOptionsEditSession::PickerScope::PickerScope(CTreeOptionsEditSession *session) : m_pSession(session)
{
    if (m_pSession)
        ++m_pSession->m_nPickersOpen;
}

CTreeOptionsEditSession::PickerScope::~PickerScope()
{
    if (m_pSession)
        --m_pSession->m_nPickersOpen;
}

CTreeOptionsEditSession::CTreeOptionsEditSession(CTreeOptionsCtrl &tree) : m_tree(tree)
{
    connect(&tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        CommitAndEnd();
        Begin(current);
    });
    connect(&tree, &QTreeWidget::itemCollapsed, this, &CTreeOptionsEditSession::OnCollapsed);
    connect(qApp, &QApplication::focusChanged, this, &CTreeOptionsEditSession::OnFocusChanged);
    // Scrolling by the user ends editing; the view's own scrolling to the
    // current item (which changes the value too) must not.
    for (QScrollBar *bar : {tree.verticalScrollBar(), tree.horizontalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, &CTreeOptionsEditSession::CommitAndEnd);
    connect(tree.model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &CTreeOptionsEditSession::OnRowsAboutToBeRemoved);
    connect(tree.model(), &QAbstractItemModel::modelAboutToBeReset, this, &CTreeOptionsEditSession::End);
}

CTreeOptionsEditSession::~CTreeOptionsEditSession()
{
    m_bDestroying = true;
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(m_tree.model(), nullptr, this, nullptr);
    disconnect(&m_tree, nullptr, this, nullptr);
    m_tree.verticalScrollBar()->disconnect(this);
    m_tree.horizontalScrollBar()->disconnect(this);
    End();
}

void CTreeOptionsEditSession::Begin(QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(item);
    if (!info || !info->m_pEditorClass)
        return;
    CommitAndEnd();
    QObject *editor = info->m_pEditorClass->newInstance();
    auto *combo = qobject_cast<CTreeOptionsCombo *>(editor);
    auto *edit = qobject_cast<CTreeOptionsEdit *>(editor);
    auto *browse = qobject_cast<CTreeOptionsBrowseButton *>(editor);
    if (!combo && !edit && !browse) {
        delete editor;
        return;
    }
    m_pItem = item;
    m_before = TreeOptionsBranchState(item);
    QWidget *primary = static_cast<QWidget *>(editor);
    primary->setParent(m_tree.viewport());
    primary->setFont(m_tree.font());
    // Assistive tools name the editor after the item's label.
    primary->setAccessibleName(CTreeOptionsCtrl::ItemLabel(item));
    if (combo || edit) {
        // The item shows its label alone while its value is in the editor.
        const QString value = CTreeOptionsCtrl::GetItemValueText(item);
        CTreeOptionsCtrl::StripItemValue(item);
        if (combo) {
            combo->m_pSession = this;
            m_pCombo = combo;
            combo->SetValue(value);
        } else {
            edit->m_pSession = this;
            edit->setText(value);
            edit->setCursorPosition(0);
            m_pEdit = edit;
        }
    } else {
        browse->m_pSession = this;
        browse->setText(browse->GetButtonText());
        if (info->m_nKind == kKindColour)
            browse->m_crColour = info->m_crColour;
        else
            browse->m_lfFont = info->m_lfFont;
        m_pBrowse = browse;
    }

    if (edit && info->m_pBuddyClass) {
        QObject *buddy = info->m_pBuddyClass->newInstance();
        if (auto *spin = qobject_cast<CTreeOptionsSpinCtrl *>(buddy)) {
            spin->m_pEdit = edit;
            edit->m_pSpin = spin;
            m_pSpin = spin;
        } else if (auto *button = qobject_cast<CTreeOptionsBrowseButton *>(buddy)) {
            button->m_pSession = this;
            button->m_pEdit = edit;
            button->setText(button->GetButtonText());
            button->setAccessibleName(QStringLiteral("Browse"));
            edit->m_pBrowseButton = button;
            m_pBrowse = button;
        } else {
            delete buddy;
        }
        for (QWidget *widget : {static_cast<QWidget *>(m_pSpin), static_cast<QWidget *>(m_pBrowse)})
            if (widget) {
                widget->setParent(m_tree.viewport());
                widget->setFont(m_tree.font());
            }
    }
    if (m_pBrowse)
        connect(m_pBrowse, &QPushButton::clicked, this, &CTreeOptionsEditSession::OnBrowseClicked);
    Place();
}

void CTreeOptionsEditSession::Place()
{
    if (!m_pItem)
        return;
    const QRect row = m_tree.visualItemRect(m_pItem);
    const QRect text = m_tree.LabelRect(m_pItem);
    const bool shown = !row.isEmpty() && !text.isEmpty();
    for (QWidget *widget : {static_cast<QWidget *>(m_pCombo), static_cast<QWidget *>(m_pEdit),
                            static_cast<QWidget *>(m_pSpin), static_cast<QWidget *>(m_pBrowse)})
        if (widget && !shown)
            widget->hide();
    if (!shown)
        return;
    const int fullRight = row.x() + row.width(); // exclusive, as are the rights below
    const int textRight = text.x() + text.width();
    const int left = textRight + 2;
    const int top = text.top();
    if (m_pCombo) {
        const int right = fullRight - 1;
        m_pCombo->setGeometry(left, top, qMax(right - left, 20), qMax(m_pCombo->sizeHint().height(), text.height()));
    } else if (m_pEdit) {
        const int buddyWidth = m_pBrowse ? m_pBrowse->GetButtonWidth() : m_pSpin ? m_pSpin->GetLayoutWidth() : 0;
        const int right = fullRight - buddyWidth - 1;
        const QRect editRect(left, top, qMax(right - left, 20), m_pEdit->GetMinHeight(text.height()));
        m_pEdit->setGeometry(editRect);
        if (m_pSpin)
            PlaceSpinButton(editRect);
        if (m_pBrowse)
            PlaceBrowseButton(text);
    } else if (m_pBrowse) {
        PlaceBrowseButton(text);
    }
    for (QWidget *widget : {static_cast<QWidget *>(m_pCombo), static_cast<QWidget *>(m_pEdit),
                            static_cast<QWidget *>(m_pSpin), static_cast<QWidget *>(m_pBrowse)})
        if (widget)
            widget->show();
}

void CTreeOptionsEditSession::PlaceSpinButton(const QRect &editRect)
{
    // The spin sits at the edit's right edge and takes its width off the edit.
    const int width = qMin(m_pSpin->sizeHint().width(), editRect.width() / 2);
    QRect edit = editRect;
    edit.setWidth(editRect.width() - width);
    m_pEdit->setGeometry(edit);
    m_pSpin->setGeometry(edit.x() + edit.width(), edit.top(), width, edit.height());
}

void CTreeOptionsEditSession::PlaceBrowseButton(const QRect &textRect)
{
    const int width = m_pBrowse->GetButtonWidth();
    if (m_pEdit) {
        const QRect edit = m_pEdit->geometry();
        m_pBrowse->setGeometry(edit.x() + edit.width() + 1, edit.top(), width, edit.height());
    } else {
        m_pBrowse->setGeometry(textRect.x() + textRect.width() + 1, textRect.top(), width, textRect.height());
    }
}

void CTreeOptionsEditSession::Commit()
{
    if (!m_pItem)
        return;
    if (m_pCombo)
        CTreeOptionsCtrl::SetItemValueText(m_pItem, m_pCombo->Value());
    else if (m_pEdit)
        CTreeOptionsCtrl::SetItemValueText(m_pItem, m_pEdit->text());
    else if (m_pBrowse && CTreeOptionsCtrl::IsColourItem(m_pItem))
        CTreeOptionsCtrl::SetItemColour(m_pItem, m_pBrowse->m_crColour);
    CTreeOptionsBranchState after = TreeOptionsBranchState(m_pItem);
    if (after != m_before)
        emit Changed(CTreeOptionsChange{m_pItem, m_pItem, m_before, std::move(after)});
    m_before = TreeOptionsBranchState(m_pItem);
}

void CTreeOptionsEditSession::End()
{
    QWidget *editors[] = {m_pCombo, m_pEdit, m_pSpin, m_pBrowse};
    m_pCombo = nullptr;
    m_pEdit = nullptr;
    m_pSpin = nullptr;
    m_pBrowse = nullptr;
    m_pItem = nullptr;
    const QWidget *focus = QApplication::focusWidget();
    for (QWidget *editor : editors) {
        if (!editor)
            continue;
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->hidePopup();
        // The keyboard returns to the tree rather than wandering along the
        // dialog when the editor that has it goes away.
        if (!m_bDestroying && focus && (focus == editor || editor->isAncestorOf(focus)))
            m_tree.setFocus(Qt::OtherFocusReason);
        editor->disconnect(this);
        editor->hide();
        // Later: this may run inside the editor's own event handler.
        editor->deleteLater();
    }
}

void CTreeOptionsEditSession::CommitAndEnd()
{
    if (!m_pItem)
        return;
    Commit();
    End();
}

void CTreeOptionsEditSession::Cancel()
{
    QTreeWidgetItem *item = m_pItem;
    if (!item)
        return;
    End();
    SetTreeOptionsBranchState(item, m_before);
    m_tree.setFocus(Qt::OtherFocusReason);
}

void CTreeOptionsEditSession::FocusTree()
{
    m_tree.setFocus(Qt::TabFocusReason);
}

void CTreeOptionsEditSession::ReEditCurrentItem()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QTreeWidgetItem *current = m_tree.currentItem()) {
                CommitAndEnd();
                Begin(current);
            }
        },
        Qt::QueuedConnection);
}

void CTreeOptionsEditSession::OnBrowseClicked()
{
    const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(m_tree.currentItem());
    if (!info)
        return;
    if (Derives(info->m_pEditorClass, CTreeOptionsEdit::staticMetaObject)) {
        QPointer<CTreeOptionsEdit> edit = m_pEdit;
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
    } else if (m_pBrowse) {
        if (info->m_nKind == kKindColour)
            m_pBrowse->PickColour();
        else
            m_pBrowse->PickFont();
    }
}

bool CTreeOptionsEditSession::FocusEditor()
{
    const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(m_tree.currentItem());
    const QMetaObject *cls = info ? info->m_pEditorClass : nullptr;
    QWidget *target = nullptr;
    if (Derives(cls, CTreeOptionsCombo::staticMetaObject))
        target = m_pCombo;
    else if (Derives(cls, CTreeOptionsEdit::staticMetaObject))
        target = m_pEdit;
    else if (Derives(cls, CTreeOptionsBrowseButton::staticMetaObject))
        target = m_pBrowse;
    else
        return false;
    if (target && target->isVisible()) {
        target->setFocus(Qt::OtherFocusReason);
        // Typing goes on after the value, as in every editor opened by keyboard.
        if (target == m_pEdit)
            m_pEdit->end(false);
    }
    return true;
}

bool CTreeOptionsEditSession::FocusItemEditor(QTreeWidgetItem *item)
{
    if (!item || item->treeWidget() != &m_tree)
        return false;
    m_tree.setCurrentItem(item);
    if (!m_pItem)
        Begin(item);
    return m_pItem == item && FocusEditor();
}

QString CTreeOptionsEditSession::ShownValue(const QTreeWidgetItem *item) const
{
    if (item && item == m_pItem) {
        if (m_pCombo)
            return m_pCombo->Value();
        if (m_pEdit)
            return m_pEdit->text();
    }
    return CTreeOptionsCtrl::GetItemValueText(item);
}

void CTreeOptionsEditSession::ItemAboutToBeDeleted(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *edited = m_pItem; edited; edited = edited->parent())
        if (edited == item) {
            End();
            return;
        }
}

bool CTreeOptionsEditSession::IsOwnWidget(const QWidget *widget) const
{
    // Across window borders, so the combo's drop-down popup counts as the combo's.
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (w == &m_tree)
            return true;
    return false;
}

void CTreeOptionsEditSession::OnFocusChanged(QWidget *old, QWidget *now)
{
    if (!m_pItem || m_bDestroying || m_nPickersOpen > 0 || (m_pEdit && m_pEdit->m_bBrowsing))
        return;
    // Only the focus leaving the tree or its editors can end editing.
    if (!IsOwnWidget(old))
        return;
    // A colour or font button losing the focus leaves the editing alone.
    if (old == m_pBrowse && !m_pBrowse->m_pEdit)
        return;
    // Moves between the tree's editors, into their popups, or from the tree
    // into an editor keep editing; back into the tree or out of it end it.
    if (now && now != &m_tree && IsOwnWidget(now))
        return;
    CommitAndEnd();
}

void CTreeOptionsEditSession::OnRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last)
{
    if (!m_pItem)
        return;
    // An item taken out of the tree (not deleted) keeps what was typed.
    const QTreeWidgetItem *parentItem = m_tree.ItemOfIndex(parent);
    for (QTreeWidgetItem *item = m_pItem; item; item = item->parent()) {
        if (item->parent() != parentItem)
            continue;
        const int row = parentItem ? parentItem->indexOfChild(item) : m_tree.indexOfTopLevelItem(item);
        if (row >= first && row <= last)
            CommitAndEnd();
        return;
    }
}

void CTreeOptionsEditSession::OnCollapsed(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *edited = m_pItem ? m_pItem->parent() : nullptr; edited; edited = edited->parent())
        if (edited == item) {
            CommitAndEnd();
            return;
        }
}
