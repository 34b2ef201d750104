#include "script/tree/ScriptTreeRoles.h"

#include "treeoptions/TreeOptionsCtrl.h"

std::optional<CLoadedValue> LoadedValueOf(const QTreeWidgetItem *item)
{
    if (!item)
        return std::nullopt;
    const QVariant value = item->data(0, kLoadedValueRole);
    if (!value.isValid())
        return std::nullopt;
    return value.value<CLoadedValue>();
}

void SetLoadedValue(QTreeWidgetItem *item, const CLoadedValue &value)
{
    item->setData(0, kLoadedValueRole, QVariant::fromValue(value));
}

bool IsUnchangedSinceLoad(const QTreeWidgetItem *item, const QString &shownText)
{
    const std::optional<CLoadedValue> loaded = LoadedValueOf(item);
    return loaded && loaded->shownImage == CTreeOptionsCtrl::GetItemImage(item) && loaded->shownText == shownText;
}

CRootLines RootLinesOf(const QTreeWidgetItem *root)
{
    const QVariant value = root ? root->data(0, kRootLinesRole) : QVariant();
    return value.isValid() ? value.value<CRootLines>() : CRootLines();
}

void SetRootLines(QTreeWidgetItem *root, const CRootLines &lines)
{
    root->setData(0, kRootLinesRole, lines.IsEmpty() ? QVariant() : QVariant::fromValue(lines));
}
