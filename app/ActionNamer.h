#pragma once
// Names of actions among the root items of the options tree.

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

class CActionNamer
{
public:
    // The name for a new action: "Action" and one more than the highest number
    // of the roots named "Action%d" ("Action1" when there is none). When that
    // number is already the largest 32-bit one, the smallest positive number
    // no root uses. The name never equals an existing root's, ignoring case.
    static QString NextActionName(const QTreeWidget &tree);

    // Whether a root item is named `name` (ignoring case, as section names are).
    static bool HasRoot(const QTreeWidget &tree, const QString &name);
    // Whether a root item is named "Default".
    static bool HasDefaultRoot(const QTreeWidget &tree) { return HasRoot(tree, DefaultName()); }
    static QString DefaultName() { return QStringLiteral("Default"); }

    // The root item (action) that holds `item`; `item` itself for a root.
    static QTreeWidgetItem *RootOf(QTreeWidgetItem *item);
};
