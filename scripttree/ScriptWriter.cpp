#include "scripttree/ScriptWriter.h"

#include "script/SettingCatalogue.h"
#include "script/SynchArray.h"
#include "script/WideNumbers.h"
#include "scripttree/ScriptTreeRoles.h"
#include "treeoptions/SingleLine.h"
#include "treeoptions/TreeOptionsCombo.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <algorithm>

namespace {

constexpr QStringView kLineEnd = u"\r\n";

// The catalogue rows of each level of a branch, in order: under the root its
// own rows and the headings, under a heading the rows of its group.
const std::vector<int> &RowsOfLevel(SettingGroup level)
{
    static const auto levels = [] {
        std::array<std::vector<int>, kSettingGroupCount> made;
        for (int row = 0; row < kCatalogueSize; ++row)
            made[size_t(SettingCatalogue()[size_t(row)].Level())].push_back(row);
        return made;
    }();
    return levels[size_t(level)];
}

} // namespace

CScriptWriter::CScriptWriter(const CSynchArray &document, const CTreeOptionsCtrl &tree)
    : m_document(document), m_tree(tree)
{
}

void CScriptWriter::WriteText(QStringView text) { m_out.append(text); }

void CScriptWriter::WriteLine(const QString &key, QStringView value)
{
    m_out.append(key);
    m_out.append(u'=');
    m_out.append(value);
    m_out.append(kLineEnd);
}

QString CScriptWriter::ScriptText()
{
    Begin();
    WriteRoots(0, m_tree.topLevelItemCount());
    return End();
}

void CScriptWriter::Begin()
{
    BuildSettingCatalogue(m_keys, m_labels);
    m_masks.clear();
    for (int f = 0; f < kSettingFieldCount; ++f) {
        const SettingField &field = SettingFields()[size_t(f)];
        if (field.type == SettingKind::Mask && field.IsShown()) {
            Mask mask;
            mask.field = f;
            mask.lastRow = field.catalogueRow + field.RowCount() - 1;
            m_masks.push_back(mask);
        }
    }
    m_out.clear();
    WritePreamble();
}

int CScriptWriter::RootCount() const { return m_tree.topLevelItemCount(); }

void CScriptWriter::WriteRoots(int first, int count)
{
    const int end = std::min(first + count, m_tree.topLevelItemCount());
    for (int i = first; i < end; ++i)
        WriteSection(m_tree.topLevelItem(i));
}

QString CScriptWriter::End()
{
    WriteUnloadedSections();
    return std::move(m_out);
}

void CScriptWriter::WritePreamble()
{
    if (const QVariant held = m_tree.invisibleRootItem()->data(0, kScriptLinesRole); held.isValid()) {
        for (const QString &line : held.toStringList()) {
            WriteText(line);
            WriteText(kLineEnd);
        }
        return;
    }
    const CScriptFile &file = m_document.m_ScriptFile;
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i) {
        WriteText(file.GetPreambleLine(i));
        WriteText(kLineEnd);
    }
}

void CScriptWriter::WriteUnloadedSections()
{
    // A section the loader reads by name ("Default", "Action%d") is either in
    // the tree or a dead duplicate of one that was: neither is written here.
    const CScriptFile &file = m_document.m_ScriptFile;
    for (const auto &section : file.Sections()) {
        qint32 number = 0;
        if (section->m_strName.compare(u"Default", Qt::CaseInsensitive) == 0
            || ParseActionName(section->m_strName, number))
            continue;
        WriteText(u"[");
        WriteText(section->m_strName);
        WriteText(u"]");
        WriteText(section->m_strHeaderRest);
        WriteText(kLineEnd);
        qsizetype loose = 0;
        for (qsizetype i = 0; i <= section->GetCount(); ++i) {
            for (; loose < section->GetLooseCount() && section->GetLooseLine(loose).nBefore <= i; ++loose) {
                WriteText(section->GetLooseLine(loose).text);
                WriteText(kLineEnd);
            }
            if (i < section->GetCount()) {
                WriteText(section->GetLine(i));
                WriteText(kLineEnd);
            }
        }
        WriteText(kLineEnd);
    }
}

void CScriptWriter::WriteSection(const QTreeWidgetItem *root)
{
    const QString name = root->text(0);
    const CRootLines lines = RootLinesOf(root);
    m_bDefault = name == u"Default";
    // An action is written even when it sets nothing: it still runs, with
    // everything inherited.
    if (m_bDefault && root->childCount() == 0 && lines.IsEmpty())
        return;
    WriteText(u"[");
    WriteText(name);
    WriteText(u"]");
    WriteText(lines.headerRest);
    WriteText(kLineEnd);
    for (const QString &line : lines.atLines) {
        WriteText(line);
        WriteText(kLineEnd);
    }
    m_radioWritten = -1;
    WriteLevel(root, SettingGroup::None);
    for (const QString &line : lines.keptLines) {
        WriteText(line);
        WriteText(kLineEnd);
    }
    WriteText(kLineEnd);
}

QString CScriptWriter::ShownText(const QTreeWidgetItem *item) const
{
    // An item being edited shows its label alone; its value is in the editor.
    const CTreeOptionsEditSession &editing = m_tree.EditSession();
    if (item == editing.Item()) {
        if (const CTreeOptionsCombo *combo = editing.Combo())
            return CTreeOptionsCtrl::TextWithValue(item->text(0), combo->Value());
        if (const CTreeOptionsEdit *edit = editing.Edit())
            return CTreeOptionsCtrl::TextWithValue(item->text(0), edit->text());
    }
    return item->text(0);
}

void CScriptWriter::WriteLevel(const QTreeWidgetItem *parent, SettingGroup level)
{
    const std::vector<int> &rows = RowsOfLevel(level);
    const size_t rowCount = rows.size();
    size_t next = 0;
    const int children = parent->childCount();
    for (int c = 0; c < children && next < rowCount; ++c) {
        const QTreeWidgetItem *item = parent->child(c);
        const QString text = ShownText(item);
        size_t match = next;
        while (match < rowCount && !text.startsWith(m_labels[rows[match]]))
            ++match;
        if (match == rowCount)
            continue;  // not a row of this level: passed over
        next = match + 1;
        const int row = rows[match];
        const SettingRow &entry = SettingCatalogue()[size_t(row)];
        switch (entry.kind) {
        case SettingKind::Group:
            // The masks of the group start afresh and end with it.
            for (Mask &mask : m_masks) {
                if (SettingFields()[size_t(mask.field)].group == entry.group) {
                    Mask fresh;
                    fresh.field = mask.field;
                    fresh.lastRow = mask.lastRow;
                    mask = fresh;
                }
            }
            WriteLevel(item, entry.group);
            for (Mask &mask : m_masks)
                if (SettingFields()[size_t(mask.field)].group == entry.group)
                    FlushMask(mask);
            break;
        case SettingKind::Operation: {
            // The prompt is the next item only when it is exactly that check box.
            const QTreeWidgetItem *prompt = c + 1 < children ? parent->child(c + 1) : nullptr;
            if (prompt && prompt->text(0) == PromptedOperationText())
                ++c;
            else
                prompt = nullptr;
            WriteOperation(row, item, text, prompt);
            break;
        }
        default:
            WriteRow(row, item, text);
            break;
        }
    }
}

void CScriptWriter::WriteOperation(int row, const QTreeWidgetItem *item, const QString &text,
                                   const QTreeWidgetItem *prompt)
{
    const QString &key = m_keys[row];
    if (prompt && IsUnchangedSinceLoad(item, text) && IsUnchangedSinceLoad(prompt, prompt->text(0))) {
        WriteLine(key, LoadedRawValueOf(item));
        return;
    }
    int code = OperationFromText(text.mid(m_labels[row].size()));
    bool prompted = false;
    if (prompt)
        CTreeOptionsCtrl::GetCheckState(prompt, prompted);
    if (prompted && code >= 0)
        code = code == 6 ? -1 : -2 - code;  // "Produce Compare Report" prompted is "Always Prompt"
    WriteLine(key, QString::number(code));
}

void CScriptWriter::FlushMasksBefore(int row)
{
    for (Mask &mask : m_masks)
        if (mask.lastRow < row)
            FlushMask(mask);
}

void CScriptWriter::WriteRow(int row, const QTreeWidgetItem *item, const QString &text)
{
    FlushMasksBefore(row);
    const QString &key = m_keys[row];
    const bool unchanged = IsUnchangedSinceLoad(item, text);
    const SettingRow &entry = SettingCatalogue()[size_t(row)];
    switch (entry.kind) {
    case SettingKind::Mask:
        AddMaskBox(row, item, unchanged);
        return;
    case SettingKind::Radio: {
        bool selected = false;
        CTreeOptionsCtrl::GetRadioState(item, selected);
        if (!selected || m_radioWritten == entry.field)
            return;
        m_radioWritten = entry.field;
        if (unchanged)
            WriteLine(key, LoadedRawValueOf(item));
        else
            WriteLine(key, entry.box == 0 ? u"0" : u"1");
        return;
    }
    case SettingKind::Check: {
        if (unchanged) {
            WriteLine(key, LoadedRawValueOf(item));
            return;
        }
        bool checked = false;
        CTreeOptionsCtrl::GetCheckState(item, checked);
        WriteLine(key, checked ? u"1" : u"0");
        return;
    }
    case SettingKind::Sort: {
        if (unchanged) {
            WriteLine(key, LoadedRawValueOf(item));
            return;
        }
        const int code = SortFromText(text.mid(m_labels[row].size()));
        // An action that leaves the key out would inherit Default's order.
        if (code != -1 || !m_bDefault)
            WriteLine(key, QString::number(code));
        return;
    }
    default: {
        if (unchanged) {
            WriteLine(key, LoadedRawValueOf(item));
            return;
        }
        const QStringView value = QStringView(text).mid(m_labels[row].size());
        if (!value.isEmpty())
            WriteLine(key, value);
        return;
    }
    }
}

void CScriptWriter::AddMaskBox(int row, const QTreeWidgetItem *item, bool unchanged)
{
    const SettingRow &entry = SettingCatalogue()[size_t(row)];
    Mask &mask = *std::find_if(m_masks.begin(), m_masks.end(), [&](const Mask &m) { return m.field == entry.field; });
    mask.seen = true;
    ++mask.boxes;
    bool checked = false;
    CTreeOptionsCtrl::GetCheckState(item, checked);
    if (checked)
        mask.bits |= entry.bit;
    if (!unchanged)
        mask.changed = true;
    if (!mask.hasRaw) {
        if (HasLoadedValue(item)) {
            mask.hasRaw = true;
            mask.raw = LoadedRawValueOf(item);
            mask.outside = quint32(WideToInt32(mask.raw)) & ~SettingFields()[size_t(entry.field)].BoxBits();
        }
    }
}

void CScriptWriter::FlushMask(Mask &mask)
{
    if (!mask.seen)
        return;
    mask.seen = false;
    const SettingField &field = SettingFields()[size_t(mask.field)];
    const QString &key = m_keys[field.catalogueRow];
    if (!mask.changed && mask.boxes == field.BoxCount() && mask.hasRaw) {
        WriteLine(key, mask.raw);
        return;
    }
    const quint32 value = mask.outside | mask.bits;
    // In Default, the built-in values go without saying; an action spells out
    // whatever its boxes show, or it would inherit Default's.
    if (m_bDefault && value == quint32(field.builtIn))
        return;
    WriteLine(key, QString::number(value));
}
