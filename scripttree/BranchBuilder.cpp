#include "scripttree/BranchBuilder.h"

#include "script/Section.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/SynchSettings.h"
#include "scripttree/ScriptTreeRoles.h"
#include "scripttree/SortComboBox.h"
#include "scripttree/SynchComboBox.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"

#include <algorithm>

namespace {

// Whether `line` is a line of a catalogue key (the text before its first '='
// is the key, ignoring case).
bool IsCatalogueKeyLine(QStringView line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0)
        return false;
    const QStringView key = line.left(equals);
    for (const SettingField &field : SettingFields())
        if (field.IsShown() && key.compare(QStringView(field.key), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

CBranchBuilder::CBranchBuilder(CTreeOptionsCtrl &tree) : m_tree(tree)
{
    QStringList keys;
    BuildSettingCatalogue(keys, m_labels);
    for (const SettingRow &row : SettingCatalogue())
        if (row.kind == SettingKind::Group)
            m_groupLabels[size_t(row.group)] = QString::fromUtf16(row.label);
}

CBranchBuilder::~CBranchBuilder()
{
    delete m_pRoot;
    qDeleteAll(m_roots);
}

void CBranchBuilder::ScriptRead(const CScriptFile &file)
{
    m_layout = std::make_shared<const CScriptLayout>(file);
}

void CBranchBuilder::BeginRoot(const QString &name)
{
    delete m_pRoot;
    m_pRoot = CTreeOptionsCtrl::NewItem(name, kImageText);
    m_pGroups.fill(nullptr);
    m_takenLines.clear();
}

QTreeWidgetItem *CBranchBuilder::GroupFor(SettingGroup group)
{
    if (group == SettingGroup::None)
        return m_pRoot;
    QTreeWidgetItem *&heading = m_pGroups[size_t(group)];
    if (!heading)
        heading = m_tree.AddGroupItem(m_groupLabels[size_t(group)], kImageGroup, m_pRoot);
    return heading;
}

QTreeWidgetItem *CBranchBuilder::ValueItem(QTreeWidgetItem *parent, const QString &text, int image,
                                           const QMetaObject *editor)
{
    QTreeWidgetItem *item = m_tree.InsertItem(text, image, parent);
    if (image == kImageList)
        m_tree.AttachComboBox(item, editor);
    else
        m_tree.AttachEditBox(item, editor);
    return item;
}

void CBranchBuilder::KeyFound(const SettingField &field, const CSynchSettings &record, QStringView rawValue,
                              qsizetype lineIndex)
{
    const int row = field.catalogueRow;
    if (!m_pRoot || row < 0)
        return;
    m_takenLines.push_back(lineIndex);
    QTreeWidgetItem *parent = GroupFor(field.group);
    const QString &label = m_labels[row];
    const int firstChild = parent->childCount();
    switch (field.type) {
    case SettingKind::Text:
        ValueItem(parent, label + record.*field.text, kImageText, EditorClass<CTreeOptionsEdit>());
        break;
    case SettingKind::Date:
        ValueItem(parent, label + rawValue.toString(), kImageText, EditorClass<CTreeOptionsEdit>());
        break;
    case SettingKind::Number:
    case SettingKind::Number64:
        ValueItem(parent, label + field.ValueText(record), kImageText, EditorClass<CTreeOptionsEdit>());
        break;
    case SettingKind::Check:
        m_tree.AddCheckBoxItem(label, parent, record.*field.int32 != 0);
        break;
    case SettingKind::Operation: {
        const qint32 code = record.*field.int32;
        ValueItem(parent, label + OperationNameForCode(code), kImageList, EditorClass<CSynchComboBox>());
        m_tree.AddCheckBoxItem(PromptedOperationText(), parent, code < 0);
        break;
    }
    case SettingKind::Sort:
        ValueItem(parent, label + SortNameForCode(record.*field.int32), kImageList, EditorClass<CSortComboBox>());
        break;
    case SettingKind::Radio: {
        // The first button is 0, the second any other value.
        const bool second = record.*field.int32 != 0;
        m_tree.AddRadioItem(label, parent, !second);
        m_tree.AddRadioItem(m_labels[row + 1], parent, second);
        break;
    }
    case SettingKind::Mask: {
        const quint32 mask = record.*field.mask;
        for (int box = 0; box < field.BoxCount(); ++box)
            m_tree.AddCheckBoxItem(m_labels[row + box], parent, (mask & field.boxes[size_t(box)].bit) != 0);
        break;
    }
    default: // never shown
        break;
    }
    // What the new items show now, and how the line read.
    for (int i = firstChild; i < parent->childCount(); ++i) {
        QTreeWidgetItem *item = parent->child(i);
        SetLoadedValue(item, rawValue, item->text(0), CTreeOptionsCtrl::GetItemImage(item));
    }
}

QStringList CBranchBuilder::KeptLines(const CSection &section, const std::vector<qsizetype> &takenLines)
{
    QStringList kept;
    auto taken = takenLines.begin();
    qsizetype loose = 0;
    const qsizetype looseCount = section.GetLooseCount();
    for (qsizetype i = 0; i <= section.GetCount(); ++i) {
        for (; loose < looseCount && section.GetLooseLine(loose).nBefore <= i; ++loose)
            kept.append(section.GetLooseLine(loose).text.toString());
        if (i == section.GetCount())
            break;
        while (taken != takenLines.end() && *taken < i)
            ++taken;
        if (taken != takenLines.end() && *taken == i)
            continue;
        const QStringView line = section.GetLine(i);
        if (line.startsWith(u"@=") || IsCatalogueKeyLine(line))
            continue;
        kept.append(line.toString());
    }
    return kept;
}

void CBranchBuilder::EndRoot(const CSection *section, const CSynchSettings &)
{
    if (!m_pRoot)
        return;
    if (section) {
        std::sort(m_takenLines.begin(), m_takenLines.end());
        CRootLines lines;
        lines.atLines = section->m_arrAtLines;
        lines.headerRest = section->m_strHeaderRest;
        lines.keptLines = KeptLines(*section, m_takenLines);
        if (m_layout) {
            auto source = std::make_shared<CRootSource>();
            source->layout = m_layout;
            source->section = m_layout->IndexOf(section);
            source->loaded = lines;
            lines.source = std::move(source);
        }
        SetRootLines(m_pRoot, lines);
    }
    m_roots.append(m_pRoot);
    m_pRoot = nullptr;
}

void CBranchBuilder::AddRootsToTree()
{
    if (m_roots.isEmpty())
        return;
    CRedrawGuard noRedraw(&m_tree);
    m_tree.addTopLevelItems(m_roots);
    m_roots.clear();
}
