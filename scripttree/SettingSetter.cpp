#include "scripttree/SettingSetter.h"

#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "scripttree/ScriptTree.h"
#include "scripttree/ScriptTreeRoles.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QSet>

namespace {

// Whether `item` is the item `box` of `field`: a value's label starts its
// text; a box or button is its label alone.
bool Shows(const QTreeWidgetItem *item, const SettingField &field, int box)
{
    const QString label = field.Label(box);
    return label.endsWith(u": ") ? item->text(0).startsWith(label) : item->text(0) == label;
}

} // namespace

QList<QTreeWidgetItem *> CSettingSetter::ItemsOf(QTreeWidgetItem *root, const SettingField &field)
{
    QTreeWidgetItem *parent = root;
    if (field.group != SettingGroup::None) {
        parent = nullptr;
        const QString heading = QString::fromUtf16(GroupLabel(field.group));
        for (int i = 0; i < root->childCount() && !parent; ++i)
            if (root->child(i)->text(0) == heading)
                parent = root->child(i);
    }
    QList<QTreeWidgetItem *> items;
    for (int box = 0; parent && box < field.BoxCount(); ++box)
        for (int i = 0; i < parent->childCount(); ++i)
            if (Shows(parent->child(i), field, box)) {
                items << parent->child(i);
                break;
            }
    return items;
}

void CSettingSetter::AddItems(QTreeWidgetItem *root, const SettingField &field)
{
    if (ItemsOf(root, field).size() == field.BoxCount())
        return;
    QSet<const QTreeWidgetItem *> had;
    const auto walk = [](QTreeWidgetItem *from, const auto &visit) -> void {
        for (int i = from->childCount() - 1; i >= 0; --i)
            visit(from->child(i));
    };
    walk(root, [&](QTreeWidgetItem *item) {
        had.insert(item);
        for (int i = 0; i < item->childCount(); ++i)
            had.insert(item->child(i));
    });
    CompleteAction(m_tree, root);
    const QList<QTreeWidgetItem *> wanted = ItemsOf(root, field);
    // What Show All added for the other settings goes again, headings left empty with it.
    walk(root, [&](QTreeWidgetItem *item) {
        for (int i = item->childCount() - 1; i >= 0; --i)
            if (!had.contains(item->child(i)) && !wanted.contains(item->child(i)))
                delete item->child(i);
        if (!had.contains(item) && !wanted.contains(item) && item->childCount() == 0)
            delete item;
    });
}

void CSettingSetter::Set(QTreeWidgetItem *root, const SettingField &field, const QString &value)
{
    AddItems(root, field);
    const QList<QTreeWidgetItem *> items = ItemsOf(root, field);
    if (items.isEmpty())
        return;
    const qint64 number = value.toLongLong();
    switch (field.type) {
    case SettingKind::Check:
        CTreeOptionsCtrl::SetCheckState(items[0], number != 0);
        break;
    case SettingKind::Radio:
        m_tree.SelectRadioItem(items.value(number != 0 ? 1 : 0, items[0]));
        break;
    case SettingKind::Mask: {
        for (int box = 0; box < items.size(); ++box)
            CTreeOptionsCtrl::SetCheckState(items[box], (quint32(number) & field.boxes[size_t(box)].bit) != 0);
        // Bits no box stands for go with the first box, as a line read with them would.
        if (quint32(number) & ~field.BoxBits())
            SetLoadedValue(items[0], value, QString(), CTreeOptionsCtrl::GetItemImage(items[0]));
        break;
    }
    case SettingKind::Operation:
        CTreeOptionsCtrl::SetItemValueText(items[0], OperationNameForCode(int(number)));
        if (items.size() > 1)
            CTreeOptionsCtrl::SetCheckState(items[1], number < 0);
        break;
    case SettingKind::Sort:
        CTreeOptionsCtrl::SetItemValueText(items[0], SortNameForCode(int(number)));
        break;
    default:
        CTreeOptionsCtrl::SetItemValueText(items[0], value);
        break;
    }
}

void CSettingSetter::Unset(QTreeWidgetItem *root, const SettingField &field)
{
    for (QTreeWidgetItem *item : ItemsOf(root, field)) {
        QTreeWidgetItem *parent = item->parent();
        delete item;
        if (parent != root && parent->childCount() == 0)
            delete parent;
    }
}
