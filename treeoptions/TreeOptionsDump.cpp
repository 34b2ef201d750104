#include "treeoptions/TreeOptionsDump.h"

#include "treeoptions/TreeOptionsCtrl.h"

QString TreeOptionsDumpBranch(const QTreeWidgetItem *item, int depth)
{
    if (!item)
        return QString();
    QString out = QString(depth * 2, u' ') + item->text(0) + QStringLiteral(" [")
                  + QString::number(CTreeOptionsCtrl::GetItemImage(item)) + QStringLiteral("]\n");
    for (int i = 0; i < item->childCount(); ++i)
        out += TreeOptionsDumpBranch(item->child(i), depth + 1);
    return out;
}

QString TreeOptionsDump(const QTreeWidget &tree, const QTreeWidgetItem *root)
{
    QString out;
    const int count = root ? root->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count; ++i)
        out += TreeOptionsDumpBranch(root ? root->child(i) : tree.topLevelItem(i), 0);
    return out;
}
