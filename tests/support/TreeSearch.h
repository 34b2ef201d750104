#pragma once
// Finding an item of an options tree by what it shows.

#include <QString>
#include <QTreeWidgetItem>

// The first item below `parent`, depth first, whose text starts with `label`.
inline QTreeWidgetItem *Find(QTreeWidgetItem *parent, const QString &label)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        QTreeWidgetItem *child = parent->child(i);
        if (QTreeWidgetItem *found = child->text(0).startsWith(label) ? child : Find(child, label))
            return found;
    }
    return nullptr;
}
