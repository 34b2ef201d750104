#pragma once
// Show All as an operation on a root item: gives a section every setting item
// it lacks, each at its fixed place, and leaves the items it already has as
// they are. An added item never changes what the section does: it holds the
// value the section has without it (see CompletionValues).

#include "script/SettingFields.h"
#include "scripttree/ScriptTree.h"
#include "treeoptions/TreeOptionsImages.h"

#include <QString>

#include <vector>

class CTreeOptionsCtrl;
class QTreeWidgetItem;

class CActionCompleter
{
public:
    explicit CActionCompleter(CTreeOptionsCtrl &tree, CompletionValues values = CompletionValues::Inherited);

    // Completes the section whose root is `root`, then expands the root and
    // its "Filters" group. Running it twice gives the same tree as once.
    void Complete(QTreeWidgetItem *root);

private:
    enum class Kind { Edit, Combo, Check, Radio, Group };
    // One of the items of a complete action.
    struct Row
    {
        int id = -1; // the catalogue row, -1 for "Prompted Operation"
        SettingKind type = SettingKind::Check;
        SettingGroup level = SettingGroup::None; // the level it stands on
        SettingGroup group = SettingGroup::None; // the group a heading heads
        QString label;
        Kind kind = Kind::Edit;
        int set = -1;    // of several items the writer reads together: their setting
        bool on = false; // checked or selected, when no item gives the value
        const void *comboClass = nullptr;
        int image = kImageText;
        QString value; // the value shown, when no item gives it
    };
    // The item the writer takes for each row of one level (indexed like
    // m_rows, null where it takes none), found as the writer finds them.
    using LevelItems = std::vector<QTreeWidgetItem *>;

    void BuildRows();
    LevelItems ItemsOfLevel(QTreeWidgetItem *parent, SettingGroup level) const;
    // Merges the rows of `level` into the children of `parent`; `source` is the
    // same level of the "Default" branch, or null.
    void MergeLevel(QTreeWidgetItem *parent, SettingGroup level, QTreeWidgetItem *source, QTreeWidgetItem **filters);
    // The item whose copy row `r` gets, or null for the row's own state;
    // `off` says the row's own state is unchecked and empty.
    QTreeWidgetItem *ModelFor(int r, const LevelItems &present, const LevelItems &source, bool &off) const;
    QTreeWidgetItem *Insert(const Row &row, bool off, QTreeWidgetItem *parent, QTreeWidgetItem *after);
    void AdoptPrompt(QTreeWidgetItem *prompt, const QTreeWidgetItem *model, bool on);
    QTreeWidgetItem *DefaultRootFor(const QTreeWidgetItem *root) const;

    CTreeOptionsCtrl &m_tree;
    CompletionValues m_values;
    std::vector<Row> m_rows;
};
