#include "scripttree/ScriptTreeRoles.h"

#include "treeoptions/TreeOptionsCtrl.h"

namespace {

const CTreeOptionsItem *LoadedItem(const QTreeWidgetItem *item)
{
    if (!item || item->type() != CTreeOptionsItem::kType)
        return nullptr;
    const auto *options = static_cast<const CTreeOptionsItem *>(item);
    return options->HasLoadMemory() ? options : nullptr;
}

} // namespace

std::optional<CLoadedValue> LoadedValueOf(const QTreeWidgetItem *item)
{
    const CTreeOptionsItem *loaded = LoadedItem(item);
    if (!loaded)
        return std::nullopt;
    return CLoadedValue{loaded->LoadedRawValue().toString(), loaded->LoadedText(), loaded->LoadedImage()};
}

bool HasLoadedValue(const QTreeWidgetItem *item)
{
    return LoadedItem(item) != nullptr;
}

QStringView LoadedRawValueOf(const QTreeWidgetItem *item)
{
    const CTreeOptionsItem *loaded = LoadedItem(item);
    return loaded ? loaded->LoadedRawValue() : QStringView();
}

void SetLoadedValue(QTreeWidgetItem *item, const CLoadedValue &value)
{
    SetLoadedValue(item, value.rawValue, value.shownText, value.shownImage);
}

void SetLoadedValue(QTreeWidgetItem *item, QStringView rawValue, const QString &shownText, int shownImage)
{
    // Only items with a record (check boxes, radio buttons, values) keep one.
    if (CTreeOptionsCtrl::GetItemInfo(item))
        static_cast<CTreeOptionsItem *>(item)->SetLoadMemory(rawValue, shownText, shownImage);
}

bool IsUnchangedSinceLoad(const QTreeWidgetItem *item, const QString &shownText)
{
    const CTreeOptionsItem *loaded = LoadedItem(item);
    return loaded && loaded->LoadedImage() == loaded->Image() && loaded->LoadedText() == shownText;
}

CRootLines RootLinesOf(const QTreeWidgetItem *root)
{
    const QVariant value = root ? root->data(0, kRootLinesRole) : QVariant();
    return value.isValid() ? value.value<CRootLines>() : CRootLines();
}

void SetRootLines(QTreeWidgetItem *root, const CRootLines &lines)
{
    root->setData(0, kRootLinesRole, lines.IsEmpty() && !lines.source ? QVariant() : QVariant::fromValue(lines));
}

std::shared_ptr<const CScriptLayout> ScriptLayoutOf(const QTreeWidgetItem *top)
{
    const QVariant value = top->data(0, kScriptLayoutRole);
    return value.isValid() ? value.value<std::shared_ptr<const CScriptLayout>>() : nullptr;
}

void SetScriptLayout(QTreeWidgetItem *top, const std::shared_ptr<const CScriptLayout> &layout)
{
    top->setData(0, kScriptLayoutRole, layout ? QVariant::fromValue(layout) : QVariant());
}
