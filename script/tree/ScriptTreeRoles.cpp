#include "script/tree/ScriptTreeRoles.h"

#include "treeoptions/TreeOptionsCtrl.h"

std::optional<CLoadedValue> LoadedValueOf(const QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = item ? CTreeOptionsCtrl::GetItemInfo(item) : nullptr;
    if (!info || info->m_nLoadedImage < 0)
        return std::nullopt;
    return CLoadedValue{info->m_strLoadedValue, info->m_strLoadedText, info->m_nLoadedImage};
}

void SetLoadedValue(QTreeWidgetItem *item, const CLoadedValue &value)
{
    if (CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(item)) {
        info->m_strLoadedValue = value.rawValue;
        info->m_strLoadedText = value.shownText;
        info->m_nLoadedImage = value.shownImage;
    }
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
