#include "script/tree/ActionCompleter.h"

#include "script/SettingCatalogue.h"
#include "treeoptions/SortComboBox.h"
#include "treeoptions/SynchComboBox.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <QStringList>

namespace {

// The catalogue rows a new action starts with checked or selected. They are
// Show All's own: four differ from a new record's built-in defaults.
bool StartsOn(int catalogueRow)
{
    switch (catalogueRow) {
    case 3:  // Include Subdirectories
    case 6:  // Compare Date/Time
    case 10: // Confirm Updates
    case 14: // Overwrite Older Files
    case 20: case 21: case 22: // Show Identical, Different, Files in 1 Directory
    case 24: // Sort Ascending
    case 26: // Append to output file
    case 28: // Show Progress
    case 29: // Display Error Messages
    case 31: // Allow Cancel
        return true;
    default:
        return catalogueRow >= kRowFirstIgnoreBit && catalogueRow <= kRowLastIgnoreBit;
    }
}

} // namespace

CActionCompleter::CActionCompleter(CTreeOptionsCtrl &tree) : m_tree(tree) {}

void CActionCompleter::BuildRows()
{
    QStringList keys;
    QStringList labels;
    BuildSettingCatalogue(keys, labels);
    m_rows.clear();
    m_rows.reserve(kCatalogueSize + 1);
    int group = 0;
    for (int i = 0; i < kCatalogueSize; ++i) {
        const SettingKind kind = SettingCatalogue()[size_t(i)].kind;
        Row row;
        row.id = i;
        row.level = kind == SettingKind::Group ? 0 : group;
        row.label = labels[i];
        switch (kind) {
        case SettingKind::Group:
            row.kind = Kind::Group;
            row.image = 13;
            group = i;
            break;
        case SettingKind::Check:
        case SettingKind::Bit:
            row.kind = Kind::Check;
            break;
        case SettingKind::Radio:
            row.kind = Kind::Radio;
            break;
        case SettingKind::Operation:
            row.kind = Kind::Combo;
            row.comboClass = EditorClass<CSynchComboBox>();
            row.value = OperationNameForCode(6);
            break;
        case SettingKind::Sort:
            row.kind = Kind::Combo;
            row.comboClass = EditorClass<CSortComboBox>();
            row.image = 12;
            row.value = SortNameForCode(-1);
            break;
        default:
            break;
        }
        row.on = StartsOn(i);
        m_rows.push_back(row);
        if (i == kRowOperation) {
            Row prompted;
            prompted.label = PromptedOperationText();
            prompted.kind = Kind::Check;
            m_rows.push_back(prompted);
        }
    }
}

QTreeWidgetItem *CActionCompleter::Insert(const Row &row, QTreeWidgetItem *parent, QTreeWidgetItem *after)
{
    const CTreeInsertPos where = after ? CTreeInsertPos(after) : TVI_FIRST;
    switch (row.kind) {
    case Kind::Group:
        return m_tree.AddGroupItem(row.label, row.image, parent, where);
    case Kind::Check:
        return m_tree.AddCheckBoxItem(row.label, parent, row.on, where);
    case Kind::Radio:
        return m_tree.AddRadioItem(row.label, parent, row.on, where);
    case Kind::Combo: {
        QTreeWidgetItem *item = m_tree.InsertItem(row.label + row.value, row.image, parent, where);
        m_tree.AttachComboBox(item, static_cast<const QMetaObject *>(row.comboClass));
        return item;
    }
    case Kind::Edit:
        break;
    }
    QTreeWidgetItem *item = m_tree.InsertItem(row.label, 11, parent, where);
    m_tree.AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
    return item;
}

void CActionCompleter::MergeLevel(QTreeWidgetItem *parent, int level, QTreeWidgetItem **filters)
{
    QTreeWidgetItem *previous = nullptr;
    int candidateIndex = 0;
    for (const Row &row : m_rows) {
        if (row.level != level)
            continue;
        QTreeWidgetItem *candidate = candidateIndex < parent->childCount() ? parent->child(candidateIndex) : nullptr;
        QTreeWidgetItem *item = nullptr;
        if (candidate && candidate->text(0).startsWith(row.label, Qt::CaseSensitive)) {
            item = candidate;
        } else {
            item = Insert(row, parent, previous);
        }
        // The candidate is whatever follows the item matched or inserted.
        candidateIndex = parent->indexOfChild(item) + 1;
        previous = item;
        if (row.kind == Kind::Group) {
            MergeLevel(item, row.id, filters);
            if (row.id == kRowFilters)
                *filters = item;
        }
    }
}

void CActionCompleter::Complete(QTreeWidgetItem *root)
{
    if (!root)
        return;
    while (root->parent())
        root = root->parent();
    BuildRows();
    CRedrawGuard noRedraw(&m_tree);
    QTreeWidgetItem *filters = nullptr;
    MergeLevel(root, 0, &filters);
    if (filters)
        filters->setExpanded(true);
    root->setExpanded(true);
}
