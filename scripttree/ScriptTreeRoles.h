#pragma once
// What the tree side of scripts keeps on tree items. Both travel with an item:
// DuplicateItem and DuplicateBranch copy them, and deleting the item frees them.
// - The memory of a loaded item lives in the item (CTreeOptionsItem's load
//   memory), in a few bytes: scripts hold hundreds of thousands of such items.
// - The lines a root carries live in a data role of column 0 (roots have no record).

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <Qt>

#include <memory>
#include <optional>

class CScriptLayout;
struct CRootSource;

enum ScriptTreeRole : int {
    // CRootLines, on a root item loaded from a section that has lines the tree
    // does not show ("@=" lines, unknown keys, comments, text after the header).
    kRootLinesRole = Qt::UserRole + 1,
    // QStringList, on the tree's invisible root once the user has changed the
    // lines before the first header: every one of them, which the writer then
    // writes instead of those the document read.
    kScriptLinesRole = Qt::UserRole + 2,
    // ScriptLayoutPtr, on the tree's invisible root: the text of the script
    // loaded into the tree, which the writer keeps wherever nothing changed.
    kScriptLayoutRole = Qt::UserRole + 3,
};

// The memory of an item the loader created. While the item still shows
// `shownText` with image `shownImage`, the writer writes `rawValue` as the
// value of its key, so an untouched setting is written exactly as it was read.
struct CLoadedValue
{
    QString rawValue;
    QString shownText;
    int shownImage = -1;

    bool operator==(const CLoadedValue &) const = default;
};

// The lines a root carries from its section, written back with it wherever
// it goes: its "@=" lines after the header, its kept lines (keys the tree
// does not show and lines without '=', in file order) after its rows, and
// whatever stood after the header's ']'. A root the loader made also knows
// the section it was read from (`source`), which copies of it share.
struct CRootLines
{
    QStringList atLines;
    QStringList keptLines;
    QString headerRest;
    std::shared_ptr<const CRootSource> source;

    bool IsEmpty() const { return atLines.isEmpty() && keptLines.isEmpty() && headerRest.isEmpty(); }
    // The lines alone: where they were read from is not what they are.
    bool operator==(const CRootLines &other) const
    {
        return atLines == other.atLines && keptLines == other.keptLines && headerRest == other.headerRest;
    }
};
Q_DECLARE_METATYPE(CRootLines)
Q_DECLARE_METATYPE(std::shared_ptr<const CScriptLayout>)

// The section of the script's layout a root was loaded from, and the lines
// it carried then, so the writer sees what the user has changed.
struct CRootSource
{
    std::shared_ptr<const CScriptLayout> layout;
    qsizetype section = -1;
    CRootLines loaded;
};

class QTreeWidgetItem;

// The memory of `item`; nothing when it has none (made by Show All or New Action).
std::optional<CLoadedValue> LoadedValueOf(const QTreeWidgetItem *item);
bool HasLoadedValue(const QTreeWidgetItem *item);
// Its raw value alone, without a copy: valid until the item changes; null
// when it has no memory.
QStringView LoadedRawValueOf(const QTreeWidgetItem *item);
// Stores the memory in the item; an item without a record keeps none, and a
// shown image of -1 clears it.
void SetLoadedValue(QTreeWidgetItem *item, const CLoadedValue &value);
void SetLoadedValue(QTreeWidgetItem *item, QStringView rawValue, const QString &shownText, int shownImage);
// Whether `item` has a memory and, with the text `shownText`, still shows
// exactly what it showed when loaded.
bool IsUnchangedSinceLoad(const QTreeWidgetItem *item, const QString &shownText);

// The lines `root` carries (empty when none).
CRootLines RootLinesOf(const QTreeWidgetItem *root);
void SetRootLines(QTreeWidgetItem *root, const CRootLines &lines);

// The layout of the script loaded into the tree `top` is the invisible root
// of; null for a script made in the editor or loaded without one.
std::shared_ptr<const CScriptLayout> ScriptLayoutOf(const QTreeWidgetItem *top);
void SetScriptLayout(QTreeWidgetItem *top, const std::shared_ptr<const CScriptLayout> &layout);
