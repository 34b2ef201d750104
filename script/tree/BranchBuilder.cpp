#include "script/tree/BranchBuilder.h"

#include "script/Section.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/SynchSettings.h"
#include "script/tree/ScriptTreeRoles.h"
#include "treeoptions/SortComboBox.h"
#include "treeoptions/SynchComboBox.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"

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
        if (field.catalogueRow >= 0 && key.compare(QStringView(field.key), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int GroupIndex(int catalogueRow)
{
    if (catalogueRow > kRowFilters)
        return 2;
    if (catalogueRow > kRowOutput)
        return 1;
    if (catalogueRow > kRowSynchronization)
        return 0;
    return -1;
}

} // namespace

CBranchBuilder::CBranchBuilder(CTreeOptionsCtrl &tree) : m_tree(tree)
{
    QStringList keys;
    BuildSettingCatalogue(keys, m_labels);
}

CBranchBuilder::~CBranchBuilder()
{
    delete m_pRoot;
    qDeleteAll(m_roots);
}

void CBranchBuilder::BeginRoot(const QString &name)
{
    delete m_pRoot;
    m_pRoot = CTreeOptionsCtrl::NewItem(name, 11);
    std::fill(std::begin(m_pGroups), std::end(m_pGroups), nullptr);
    m_takenLines.clear();
}

QTreeWidgetItem *CBranchBuilder::GroupFor(int catalogueRow)
{
    const int group = GroupIndex(catalogueRow);
    if (group < 0)
        return m_pRoot;
    if (!m_pGroups[group]) {
        static constexpr int kGroupRows[3] = {kRowSynchronization, kRowOutput, kRowFilters};
        m_pGroups[group] = m_tree.AddGroupItem(m_labels[kGroupRows[group]], 13, m_pRoot);
    }
    return m_pGroups[group];
}

QTreeWidgetItem *CBranchBuilder::ValueItem(QTreeWidgetItem *parent, const QString &text, int image,
                                           const QMetaObject *editor)
{
    QTreeWidgetItem *item = m_tree.InsertItem(text, image, parent);
    if (image == 12)
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
    QTreeWidgetItem *parent = GroupFor(row);
    const QString &label = m_labels[row];
    const int firstChild = parent->childCount();
    const SettingKind kind = SettingCatalogue()[size_t(row)].kind;
    switch (kind) {
    case SettingKind::Text:
        ValueItem(parent, label + record.*field.text, 11, EditorClass<CTreeOptionsEdit>());
        break;
    case SettingKind::Date:
        ValueItem(parent, label + rawValue.toString(), 11, EditorClass<CTreeOptionsEdit>());
        break;
    case SettingKind::Number:
    case SettingKind::Number64:
        ValueItem(parent, label + field.ValueText(record), 11, EditorClass<CTreeOptionsEdit>());
        break;
    case SettingKind::Check:
        m_tree.AddCheckBoxItem(label, parent, record.*field.int32 != 0);
        break;
    case SettingKind::Operation: {
        const qint32 code = record.*field.int32;
        ValueItem(parent, label + OperationNameForCode(code), 12, EditorClass<CSynchComboBox>());
        m_tree.AddCheckBoxItem(PromptedOperationText(), parent, code < 0);
        break;
    }
    case SettingKind::Sort:
        ValueItem(parent, label + SortNameForCode(record.*field.int32), 12, EditorClass<CSortComboBox>());
        break;
    case SettingKind::Radio: {
        const bool binary = record.*field.int32 != 0;
        m_tree.AddRadioItem(m_labels[kRowCompareDateTime], parent, !binary);
        m_tree.AddRadioItem(m_labels[kRowBinaryCompare], parent, binary);
        break;
    }
    case SettingKind::Bit: {
        const quint32 mask = record.*field.mask;
        for (int bitRow = row; bitRow < row + 5; ++bitRow)
            m_tree.AddCheckBoxItem(m_labels[bitRow], parent, (mask & quint32(SettingCatalogue()[size_t(bitRow)].bit)) != 0);
        break;
    }
    case SettingKind::Group:
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
