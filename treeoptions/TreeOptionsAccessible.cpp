#include "treeoptions/TreeOptionsAccessible.h"

#include "treeoptions/TreeOptionsCtrl.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QWindow>

#include <vector>

namespace {

enum class RowKind { Header, CheckBox, Radio, Value, Plain };

RowKind KindOf(const QTreeWidgetItem *item)
{
    if (CTreeOptionsCtrl::IsCheckBoxItem(item))
        return RowKind::CheckBox;
    if (CTreeOptionsCtrl::IsRadioItem(item))
        return RowKind::Radio;
    const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(item);
    return info && info->m_pEditorClass ? RowKind::Value : RowKind::Plain;
}

// The states a box's or radio's image gives.
QAccessible::State ImageState(const QTreeWidgetItem *item)
{
    QAccessible::State state;
    bool flag = false;
    switch (KindOf(item)) {
    case RowKind::CheckBox:
        state.checkable = true;
        state.checked = CTreeOptionsCtrl::GetCheckState(item, flag) && flag;
        state.checkStateMixed = CTreeOptionsCtrl::IsCheckIndeterminate(item, flag) && flag;
        state.disabled = !(CTreeOptionsCtrl::IsCheckEnabled(item, flag) && flag);
        break;
    case RowKind::Radio:
        state.checkable = true;
        state.checked = CTreeOptionsCtrl::GetRadioState(item, flag) && flag;
        state.disabled = !(CTreeOptionsCtrl::IsRadioEnabled(item, flag) && flag);
        break;
    default:
        break;
    }
    return state;
}

bool SameImageState(const QAccessible::State &a, const QAccessible::State &b)
{
    return a.checked == b.checked && a.checkStateMixed == b.checkStateMixed && a.disabled == b.disabled;
}

// One row of the tree, or its column header.
class CTreeOptionsAccessibleRow : public QAccessibleInterface,
                                  public QAccessibleActionInterface,
                                  public QAccessibleTextInterface
{
public:
    CTreeOptionsAccessibleRow(CTreeOptionsCtrl *tree, QTreeWidgetItem *item)
        : m_pTree(tree)
        , m_index(item ? tree->IndexOfItem(item) : QModelIndex())
        , m_bHeader(!item)
        , m_reported(ImageState(item))
    {
    }

    QTreeWidgetItem *Item() const { return m_pTree && !m_bHeader ? m_pTree->ItemOfIndex(m_index) : nullptr; }
    RowKind Kind() const { return m_bHeader ? RowKind::Header : KindOf(Item()); }
    // The box or radio state assistive tools were last told.
    QAccessible::State &Reported() { return m_reported; }

    bool isValid() const override { return m_pTree && (m_bHeader || m_index.isValid()); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_pTree ? m_pTree->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_pTree.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

    QAccessible::Role role() const override
    {
        switch (Kind()) {
        case RowKind::Header:
            return QAccessible::ColumnHeader;
        case RowKind::CheckBox:
            return QAccessible::CheckBox;
        case RowKind::Radio:
            return QAccessible::RadioButton;
        default:
            return QAccessible::TreeItem;
        }
    }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        if (m_bHeader)
            return t == QAccessible::Name ? m_pTree->headerItem()->text(0) : QString();
        QTreeWidgetItem *item = Item();
        const bool value = KindOf(item) == RowKind::Value;
        switch (t) {
        case QAccessible::Name: {
            const QString text = item->text(0);
            return value ? text.left(text.indexOf(TreeValueSeparator())) : text;
        }
        case QAccessible::Value:
            return value ? m_pTree->EditSession().ShownValue(item) : QString();
        case QAccessible::Description:
            return m_pTree->ItemDescription(item);
        default:
            return QString();
        }
    }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        QRect rect;
        if (m_bHeader) {
            const QHeaderView *header = m_pTree->header();
            if (header->isHidden())
                return QRect();
            rect = QRect(header->sectionViewportPosition(0), 0, header->sectionSize(0), header->height());
            return rect.translated(header->viewport()->mapToGlobal(QPoint(0, 0)));
        }
        rect = m_pTree->visualItemRect(Item());
        return rect.translated(m_pTree->viewport()->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::State state() const override
    {
        QTreeWidgetItem *item = Item();
        if (!item) {
            QAccessible::State state;
            state.invisible = !m_bHeader || !m_pTree || m_pTree->header()->isHidden();
            return state;
        }
        QAccessible::State state = ImageState(item);
        state.disabled = state.disabled || !m_pTree->isEnabled();
        state.selectable = true;
        state.selected = item->isSelected();
        state.focusable = true;
        state.focused = m_pTree->hasFocus() && m_pTree->currentItem() == item;
        state.active = m_pTree->currentItem() == item;
        state.expandable = item->childCount() > 0;
        state.expanded = item->isExpanded();
        const QRect shown = m_pTree->visualItemRect(item);
        state.invisible = !m_pTree->isVisible() || shown.isEmpty();
        state.offscreen = state.invisible || !m_pTree->viewport()->rect().intersects(shown);
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        // The value as read-only text too: some tools read a value no other way.
        if (type == QAccessible::TextInterface && Kind() == RowKind::Value)
            return static_cast<QAccessibleTextInterface *>(this);
        return nullptr;
    }

    QString text(int startOffset, int endOffset) const override
    {
        return text(QAccessible::Value).mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(text(QAccessible::Value).size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

    QStringList actionNames() const override
    {
        switch (Kind()) {
        case RowKind::Header:
            return {};
        case RowKind::CheckBox:
        case RowKind::Radio:
            return {toggleAction(), pressAction(), setFocusAction()};
        case RowKind::Value:
            return {pressAction(), setFocusAction()};
        default:
            return {setFocusAction()};
        }
    }

    void doAction(const QString &name) override
    {
        QTreeWidgetItem *item = Item();
        if (!item || !actionNames().contains(name))
            return;
        if (name == setFocusAction()) {
            m_pTree->setCurrentItem(item);
            m_pTree->setFocus(Qt::OtherFocusReason);
        } else if (Kind() == RowKind::Value) {
            m_pTree->EditSession().FocusItemEditor(item);
        } else {
            m_pTree->PressItem(item);
        }
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name == setFocusAction() || !actionNames().contains(name))
            return {};
        return {Kind() == RowKind::Value ? QStringLiteral("F2") : QStringLiteral("Space")};
    }

private:
    QPointer<CTreeOptionsCtrl> m_pTree;
    QPersistentModelIndex m_index;
    bool m_bHeader;
    QAccessible::State m_reported;
};

class CTreeOptionsAccessible;

// The accounts of the trees assistive tools asked about, so a change is told
// only where one was asked for.
QHash<const CTreeOptionsCtrl *, CTreeOptionsAccessible *> &Accounts()
{
    static QHash<const CTreeOptionsCtrl *, CTreeOptionsAccessible *> accounts;
    return accounts;
}

class CTreeOptionsAccessible : public QAccessibleWidget
{
public:
    explicit CTreeOptionsAccessible(CTreeOptionsCtrl *tree) : QAccessibleWidget(tree, QAccessible::Tree), m_pOwner(tree)
    {
        Accounts().insert(tree, this);
    }

    ~CTreeOptionsAccessible() override
    {
        // The tree may be gone already: its pointer is only a key here.
        Accounts().remove(m_pOwner);
        for (QAccessible::Id id : std::as_const(m_rowIds))
            QAccessible::deleteAccessibleInterface(id);
        if (m_headerId)
            QAccessible::deleteAccessibleInterface(m_headerId);
    }

    CTreeOptionsCtrl *Tree() const { return static_cast<CTreeOptionsCtrl *>(widget()); }

    int childCount() const override { return int(Rows().size()) + 2; }

    QAccessibleInterface *child(int index) const override
    {
        const std::vector<QTreeWidgetItem *> &rows = Rows();
        if (index == 0)
            return Header();
        if (index > 0 && size_t(index) <= rows.size())
            return Row(rows[size_t(index - 1)]);
        return index == int(rows.size()) + 1 ? Viewport() : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child == Viewport())
            return int(Rows().size()) + 1;
        const auto *row = dynamic_cast<const CTreeOptionsAccessibleRow *>(child);
        if (!row || row->parent() != this)
            return -1;
        if (row->Kind() == RowKind::Header)
            return 0;
        QTreeWidgetItem *item = row->Item();
        if (!item)
            return -1;
        if (m_rowOf.isEmpty() && !Rows().empty())
            for (size_t i = 0; i < m_rows.size(); ++i)
                m_rowOf.insert(m_rows[i], int(i));
        const int at = m_rowOf.value(item, -1);
        return at < 0 ? -1 : at + 1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        CTreeOptionsCtrl *tree = Tree();
        const QPoint global(x, y);
        for (const QObject *object : tree->viewport()->children()) {
            const auto *editor = qobject_cast<const QWidget *>(object);
            if (editor && editor->isVisible() && editor->rect().contains(editor->mapFromGlobal(global)))
                return Viewport();
        }
        if (!tree->header()->isHidden() && tree->header()->rect().contains(tree->header()->mapFromGlobal(global)))
            return Header();
        QTreeWidgetItem *item = tree->itemAt(tree->viewport()->mapFromGlobal(global));
        return item ? Row(item) : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        CTreeOptionsCtrl *tree = Tree();
        QWidget *focus = QApplication::focusWidget();
        if (focus && tree->viewport()->isAncestorOf(focus))
            return QAccessible::queryAccessibleInterface(focus);
        QTreeWidgetItem *current = tree->currentItem();
        return tree->hasFocus() && current ? Row(current) : nullptr;
    }

    // The interface of `item`'s row, made when first asked for.
    QAccessibleInterface *Row(QTreeWidgetItem *item) const
    {
        if (CTreeOptionsAccessibleRow *row = FoundRow(item))
            return row;
        auto *row = new CTreeOptionsAccessibleRow(Tree(), item);
        m_rowIds.insert(item, QAccessible::registerAccessibleInterface(row));
        return row;
    }

    // The row of `item`, when assistive tools have asked for it since it was made.
    CTreeOptionsAccessibleRow *FoundRow(QTreeWidgetItem *item) const
    {
        const auto found = m_rowIds.constFind(item);
        if (found == m_rowIds.cend())
            return nullptr;
        auto *row = static_cast<CTreeOptionsAccessibleRow *>(QAccessible::accessibleInterface(*found));
        if (row && row->Item() == item)
            return row;
        // A new item where a deleted one was.
        QAccessible::deleteAccessibleInterface(*found);
        m_rowIds.erase(found);
        return nullptr;
    }

private:
    QAccessibleInterface *Header() const
    {
        if (!m_headerId)
            m_headerId = QAccessible::registerAccessibleInterface(new CTreeOptionsAccessibleRow(Tree(), nullptr));
        return QAccessible::accessibleInterface(m_headerId);
    }

    QAccessibleInterface *Viewport() const { return QAccessible::queryAccessibleInterface(Tree()->viewport()); }

    // The shown rows from top to bottom, gathered again after rows came,
    // went, moved, opened or closed; rows of deleted items are let go then.
    const std::vector<QTreeWidgetItem *> &Rows() const
    {
        CTreeOptionsCtrl *tree = Tree();
        if (m_generation == tree->RowsGeneration())
            return m_rows;
        m_generation = tree->RowsGeneration();
        m_rows.clear();
        m_rowOf.clear();
        std::vector<QTreeWidgetItem *> pending;
        for (int i = tree->topLevelItemCount() - 1; i >= 0; --i)
            pending.push_back(tree->topLevelItem(i));
        while (!pending.empty()) {
            QTreeWidgetItem *item = pending.back();
            pending.pop_back();
            if (item->isHidden())
                continue;
            m_rows.push_back(item);
            if (item->isExpanded())
                for (int i = item->childCount() - 1; i >= 0; --i)
                    pending.push_back(item->child(i));
        }
        for (auto it = m_rowIds.begin(); it != m_rowIds.end();) {
            QAccessibleInterface *row = QAccessible::accessibleInterface(*it);
            if (row && row->isValid()) {
                ++it;
                continue;
            }
            QAccessible::deleteAccessibleInterface(*it);
            it = m_rowIds.erase(it);
        }
        return m_rows;
    }

    const CTreeOptionsCtrl *m_pOwner;
    mutable std::vector<QTreeWidgetItem *> m_rows;
    mutable QHash<const QTreeWidgetItem *, int> m_rowOf; // made when first needed
    mutable quint64 m_generation = ~quint64(0);
    mutable QHash<QTreeWidgetItem *, QAccessible::Id> m_rowIds;
    mutable QAccessible::Id m_headerId = 0;
};

// The viewport, which holds the open editors. The keyboard it passes on to
// the tree is not its own: it is never the focused object.
class CTreeOptionsAccessibleViewport : public QAccessibleWidget
{
public:
    explicit CTreeOptionsAccessibleViewport(QWidget *viewport) : QAccessibleWidget(viewport, QAccessible::Client) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = false;
        state.focusable = false;
        return state;
    }
};

QAccessibleInterface *TreeOptionsAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CTreeOptionsCtrl")) {
        if (auto *tree = qobject_cast<CTreeOptionsCtrl *>(object))
            return new CTreeOptionsAccessible(tree);
    } else if (className == QLatin1String("QWidget") && object->isWidgetType()) {
        auto *tree = qobject_cast<CTreeOptionsCtrl *>(object->parent());
        if (tree && tree->viewport() == object)
            return new CTreeOptionsAccessibleViewport(static_cast<QWidget *>(object));
    }
    return nullptr;
}

} // namespace

void InstallTreeOptionsAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(&TreeOptionsAccessibleFactory);
        return true;
    }();
    (void)installed;
}

void TreeOptionsRowsChanged(CTreeOptionsCtrl &tree, const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    CTreeOptionsAccessible *account = Accounts().value(&tree);
    if (!account || !topLeft.isValid() || !bottomRight.isValid())
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        QTreeWidgetItem *item = tree.ItemOfIndex(topLeft.siblingAtRow(row));
        CTreeOptionsAccessibleRow *told = item ? account->FoundRow(item) : nullptr;
        if (!told)
            continue;
        const QAccessible::State now = ImageState(item);
        if (SameImageState(now, told->Reported()))
            continue;
        QAccessible::State changed;
        changed.checked = now.checked != told->Reported().checked;
        changed.checkStateMixed = now.checkStateMixed != told->Reported().checkStateMixed;
        changed.disabled = now.disabled != told->Reported().disabled;
        told->Reported() = now;
        QAccessibleStateChangeEvent event(told, changed);
        QAccessible::updateAccessibility(&event);
    }
}
