#include "app/ActionNamer.h"

#include "script/SynchArray.h"

#include <QTreeWidget>

#include <limits>
#include <set>

QString CActionNamer::NextActionName(const QTreeWidget &tree)
{
    std::set<qint32> used;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        qint32 number = 0;
        if (ParseActionName(tree.topLevelItem(i)->text(0), number))
            used.insert(number);
    }
    qint32 next = 1;
    if (!used.empty() && *used.rbegin() < std::numeric_limits<qint32>::max()) {
        next = *used.rbegin() + 1;
    } else {
        while (used.count(next))
            ++next;
    }
    return QStringLiteral("Action%1").arg(next);
}

bool CActionNamer::HasRoot(const QTreeWidget &tree, const QString &name)
{
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (tree.topLevelItem(i)->text(0).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QTreeWidgetItem *CActionNamer::RootOf(QTreeWidgetItem *item)
{
    while (item && item->parent())
        item = item->parent();
    return item;
}
