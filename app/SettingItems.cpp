#include "app/SettingItems.h"

#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"

#include <QTreeWidget>

int CSettingItems::CatalogueRowOf(const QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return -1;
    const QString text = item->text(0);
    const auto &rows = SettingCatalogue();
    if (text == PromptedOperationText()) {
        for (const SettingField &field : SettingFields())
            if (field.type == SettingKind::Operation)
                return field.catalogueRow;
    }
    for (int row = 0; row < kCatalogueSize; ++row) {
        const SettingRow &entry = rows[size_t(row)];
        if (entry.kind == SettingKind::Group)
            continue;
        const QStringView label(entry.label);
        if (!label.endsWith(ValueSeparator())) {
            if (text == label)
                return row;
        } else if (text.startsWith(label) || text == label.chopped(ValueSeparator().size())) {
            // A value item shows only its label while its editor is open.
            return row;
        }
    }
    return -1;
}

const SettingField *CSettingItems::FieldOf(const QTreeWidgetItem *item)
{
    const int row = CatalogueRowOf(item);
    if (row < 0)
        return nullptr;
    return &SettingFields()[size_t(SettingCatalogue()[size_t(row)].field)];
}

QTreeWidgetItem *CSettingItems::RootOf(QTreeWidgetItem *item)
{
    while (item && item->parent())
        item = item->parent();
    return item;
}

QTreeWidgetItem *CSettingItems::FindRoot(const QTreeWidget &tree, const QString &section)
{
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (tree.topLevelItem(i)->text(0).compare(section, Qt::CaseInsensitive) == 0)
            return tree.topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem *CSettingItems::Find(const QTreeWidget &tree, const QString &section, const QString &key)
{
    QTreeWidgetItem *root = FindRoot(tree, section);
    if (!root || key.isEmpty())
        return root;
    // Depth first over the branch (items and the groups' items).
    QList<QTreeWidgetItem *> pending{root};
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeFirst();
        if (item != root) {
            const SettingField *field = FieldOf(item);
            if (field && key.compare(QStringView(field->key), Qt::CaseInsensitive) == 0)
                return item;
        }
        for (int i = item->childCount() - 1; i >= 0; --i)
            pending.prepend(item->child(i));
    }
    return root;
}
