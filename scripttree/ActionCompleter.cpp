#include "scripttree/ActionCompleter.h"

#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/SynchSettings.h"
#include "scripttree/ScriptTreeRoles.h"
#include "scripttree/SortComboBox.h"
#include "scripttree/SynchComboBox.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <QStringList>

CActionCompleter::CActionCompleter(CTreeOptionsCtrl &tree, CompletionValues values) : m_tree(tree), m_values(values) {}

void CActionCompleter::BuildRows()
{
    QStringList keys;
    QStringList labels;
    BuildSettingCatalogue(keys, labels);
    const CSynchSettings builtIn;
    const bool initial = m_values == CompletionValues::Initial;
    m_rows.clear();
    m_rows.reserve(kCatalogueSize + 1);
    for (int i = 0; i < kCatalogueSize; ++i) {
        const SettingRow &setting = SettingCatalogue()[size_t(i)];
        const SettingField *field = setting.field >= 0 ? &SettingFields()[size_t(setting.field)] : nullptr;
        const QString builtInText = field ? field->ValueText(builtIn) : QString();
        // A new script's own state, or the built-in default.
        const qint64 number = initial && field ? field->initial : builtInText.toLongLong();
        Row row;
        row.id = i;
        row.type = setting.kind;
        row.level = setting.Level();
        row.label = labels[i];
        switch (setting.kind) {
        case SettingKind::Group:
            row.kind = Kind::Group;
            row.image = kImageGroup;
            row.group = setting.group;
            break;
        case SettingKind::Check:
            row.kind = Kind::Check;
            row.on = number != 0;
            break;
        case SettingKind::Mask:
            row.kind = Kind::Check;
            row.set = setting.field;
            row.on = (number & setting.bit) != 0;
            break;
        case SettingKind::Radio:
            row.kind = Kind::Radio;
            row.set = setting.field;
            row.on = (number == 0) == (setting.box == 0);
            break;
        case SettingKind::Operation:
            row.kind = Kind::Combo;
            row.set = setting.field;
            row.comboClass = EditorClass<CSynchComboBox>();
            row.value = OperationNameForCode(int(number));
            break;
        case SettingKind::Sort:
            row.kind = Kind::Combo;
            row.comboClass = EditorClass<CSortComboBox>();
            row.image = kImageList;
            row.value = SortNameForCode(int(number));
            break;
        case SettingKind::Number64:
        case SettingKind::Date:
            // 0 is no limit and no date: an empty value says so.
            row.value = initial || number == 0 ? QString() : builtInText;
            break;
        default: // texts and numbers
            row.value = initial ? QString() : builtInText;
            break;
        }
        m_rows.push_back(row);
        if (setting.kind == SettingKind::Operation) {
            Row prompted;
            prompted.label = PromptedOperationText();
            prompted.kind = Kind::Check;
            prompted.level = row.level;
            prompted.set = setting.field;
            prompted.on = number < 0;
            m_rows.push_back(prompted);
        }
    }
}

CActionCompleter::LevelItems CActionCompleter::ItemsOfLevel(QTreeWidgetItem *parent, SettingGroup level) const
{
    // The writer's walk: each child is the first row still to come whose label
    // starts its text, or passed over; the prompt is the item right after the
    // Operation item when it is exactly that check box.
    LevelItems items(m_rows.size(), nullptr);
    if (!parent)
        return items;
    std::vector<size_t> rows;
    for (size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].level == level && m_rows[r].id >= 0)
            rows.push_back(r);
    size_t next = 0;
    const int children = parent->childCount();
    for (int c = 0; c < children && next < rows.size(); ++c) {
        QTreeWidgetItem *child = parent->child(c);
        const QString text = child->text(0);
        size_t match = next;
        while (match < rows.size() && !text.startsWith(m_rows[rows[match]].label))
            ++match;
        if (match == rows.size())
            continue;
        next = match + 1;
        const size_t r = rows[match];
        items[r] = child;
        if (m_rows[r].type == SettingKind::Operation && c + 1 < children
            && parent->child(c + 1)->text(0) == PromptedOperationText())
            items[r + 1] = parent->child(++c);
    }
    return items;
}

QTreeWidgetItem *CActionCompleter::ModelFor(int r, const LevelItems &present, const LevelItems &source, bool &off) const
{
    off = false;
    const Row &row = m_rows[size_t(r)];
    if (row.kind == Kind::Group)
        return nullptr;
    // Rows the writer reads together: when the section shows part of them, a
    // missing one adds nothing to what is written.
    bool sectionDecides = false;
    const SettingKind setKind = row.set >= 0 ? SettingFields()[size_t(row.set)].type : SettingKind::Group;
    for (size_t i = 0; i < m_rows.size() && row.set >= 0; ++i) {
        if (m_rows[i].set != row.set || !present[i])
            continue;
        bool selected = false;
        if (setKind == SettingKind::Radio)
            sectionDecides = sectionDecides || (CTreeOptionsCtrl::GetRadioState(present[i], selected) && selected);
        else if (setKind == SettingKind::Operation)
            sectionDecides = sectionDecides || (row.id < 0 && m_rows[i].id >= 0);
        else
            sectionDecides = true;
    }
    if (sectionDecides) {
        off = true;
        return nullptr;
    }
    if (source[size_t(r)])
        return source[size_t(r)];
    // Part of a set shown in "Default": what "Default" writes lacks this one.
    for (size_t i = 0; i < m_rows.size() && row.set >= 0; ++i)
        if (m_rows[i].set == row.set && source[i])
            off = true;
    return nullptr;
}

QTreeWidgetItem *CActionCompleter::Insert(const Row &row, bool off, QTreeWidgetItem *parent, QTreeWidgetItem *after)
{
    const CTreeInsertPos where = after ? CTreeInsertPos(after) : TVI_FIRST;
    switch (row.kind) {
    case Kind::Group:
        return m_tree.AddGroupItem(row.label, row.image, parent, where);
    case Kind::Check:
        return m_tree.AddCheckBoxItem(row.label, parent, row.on && !off, where);
    case Kind::Radio:
        return m_tree.AddRadioItem(row.label, parent, row.on && !off, where);
    case Kind::Combo: {
        QTreeWidgetItem *item = m_tree.InsertItem(row.label + row.value, row.image, parent, where);
        m_tree.AttachComboBox(item, static_cast<const QMetaObject *>(row.comboClass));
        return item;
    }
    case Kind::Edit:
        break;
    }
    QTreeWidgetItem *item = m_tree.InsertItem(row.label + row.value, kImageText, parent, where);
    m_tree.AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
    return item;
}

void CActionCompleter::AdoptPrompt(QTreeWidgetItem *prompt, const QTreeWidgetItem *model, bool on)
{
    // Without its Operation item the box was never written; now it is the
    // prompt of the inserted one, so it takes the state that goes with it.
    if (model) {
        CTreeOptionsCtrl::SetItemImage(prompt, CTreeOptionsCtrl::GetItemImage(model));
        SetLoadedValue(prompt, LoadedValueOf(model).value_or(CLoadedValue()));
    } else {
        CTreeOptionsCtrl::SetCheckState(prompt, on);
        SetLoadedValue(prompt, CLoadedValue());
    }
}

void CActionCompleter::MergeLevel(QTreeWidgetItem *parent, SettingGroup level, QTreeWidgetItem *source,
                                  QTreeWidgetItem **filters)
{
    const LevelItems present = ItemsOfLevel(parent, level);
    const LevelItems model = ItemsOfLevel(source, level);
    QTreeWidgetItem *previous = nullptr;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const Row &row = m_rows[r];
        if (row.level != level)
            continue;
        QTreeWidgetItem *item = present[r];
        if (!item) {
            bool off = false;
            QTreeWidgetItem *copyOf = ModelFor(int(r), present, model, off);
            const int next = previous ? parent->indexOfChild(previous) + 1 : 0;
            QTreeWidgetItem *following = next < parent->childCount() ? parent->child(next) : nullptr;
            if (row.id < 0 && following && following->text(0) == PromptedOperationText()) {
                item = following;
                AdoptPrompt(item, copyOf, row.on && !off);
            } else if (copyOf) {
                item = m_tree.DuplicateItem(copyOf, parent, previous ? CTreeInsertPos(previous) : TVI_FIRST);
            } else {
                item = Insert(row, off, parent, previous);
            }
        }
        previous = item;
        if (row.kind == Kind::Group) {
            MergeLevel(item, row.group, model[r], filters);
            if (row.group == SettingGroup::Filters)
                *filters = item;
        }
    }
}

QTreeWidgetItem *CActionCompleter::DefaultRootFor(const QTreeWidgetItem *root) const
{
    // The section the loader reads as "Default": the first of that name.
    const QString defaultName = QStringLiteral("Default");
    if (m_values == CompletionValues::Initial || root->text(0).compare(defaultName, Qt::CaseInsensitive) == 0)
        return nullptr;
    for (int i = 0; i < m_tree.topLevelItemCount(); ++i)
        if (m_tree.topLevelItem(i)->text(0).compare(defaultName, Qt::CaseInsensitive) == 0)
            return m_tree.topLevelItem(i);
    return nullptr;
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
    MergeLevel(root, SettingGroup::None, DefaultRootFor(root), &filters);
    if (filters)
        filters->setExpanded(true);
    root->setExpanded(true);
}
