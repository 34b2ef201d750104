#pragma once
// Sets one setting of a section in the options tree, or takes it away, as the
// user would by hand: the items it lacks are added at their place as Show All
// adds them (and only those), then shown with the value; the writer then
// writes just that setting's line.

#include <QList>
#include <QString>

class CTreeOptionsCtrl;
class QTreeWidgetItem;
struct SettingField;

class CSettingSetter
{
public:
    explicit CSettingSetter(CTreeOptionsCtrl &tree) : m_tree(tree) {}

    // `value` is in script form and fits the setting (a code, 0 or 1, a number).
    void Set(QTreeWidgetItem *root, const SettingField &field, const QString &value);
    void Unset(QTreeWidgetItem *root, const SettingField &field);

private:
    // The items that show `field` in the branch of `root`, in order.
    static QList<QTreeWidgetItem *> ItemsOf(QTreeWidgetItem *root, const SettingField &field);
    // Adds the items of `field` the branch lacks, and nothing else.
    void AddItems(QTreeWidgetItem *root, const SettingField &field);

    CTreeOptionsCtrl &m_tree;
};
