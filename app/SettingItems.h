#pragma once
// Between the options tree and the keys of a script: which setting an item
// shows, which section it belongs to, and the item that shows a key.

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
struct SettingField;

class CSettingItems
{
public:
    // The catalogue row `item` shows (by its label), or -1 for a root, a
    // group heading or an item the catalogue does not know.
    static int CatalogueRowOf(const QTreeWidgetItem *item);
    // The loader's field of the key `item` shows, or nullptr.
    static const SettingField *FieldOf(const QTreeWidgetItem *item);
    // The root item above `item` (itself for a root).
    static QTreeWidgetItem *RootOf(QTreeWidgetItem *item);
    // The root named `section` (ignoring case), or nullptr.
    static QTreeWidgetItem *FindRoot(const QTreeWidget &tree, const QString &section);
    // The first item of `section`'s branch that shows `key`; the root when the
    // branch has none; nullptr when there is no such root.
    static QTreeWidgetItem *Find(const QTreeWidget &tree, const QString &section, const QString &key);
};
