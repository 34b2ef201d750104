#include "scripttree/ScriptWriter.h"

#include "script/SettingCatalogue.h"
#include "script/SynchArray.h"
#include "script/WideNumbers.h"
#include "scripttree/ScriptLayout.h"
#include "scripttree/ScriptTreeRoles.h"
#include "treeoptions/SingleLine.h"
#include "treeoptions/TreeOptionsCombo.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <QSet>

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

// The catalogue row of the setting whose key a stored line holds (the text
// before its first '=', compared as the loader compares), or -1.
int RowOfLine(QStringView line)
{
    static const auto byLength = [] {
        std::vector<std::vector<int>> made;
        for (const SettingField &field : SettingFields()) {
            if (!field.IsShown())
                continue;
            const size_t length = size_t(QStringView(field.key).size());
            if (made.size() <= length)
                made.resize(length + 1);
            made[length].push_back(field.catalogueRow);
        }
        return made;
    }();
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0 || size_t(equals) >= byLength.size() || line[0] == u'[')
        return -1;
    const QStringView key = line.left(equals);
    for (const int row : byLength[size_t(equals)])
        if (key.compare(QStringView(SettingCatalogue()[size_t(row)].key), Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

// A line of a section as it stands: its text and its end ("\r\n", "\n" or, last in the file, none).
struct KeptLine
{
    QStringView text;
    QStringView end;
    int row; // the setting whose key it holds, or -1
};

void CutLines(QStringView text, std::vector<KeptLine> &lines)
{
    lines.clear();
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype lineFeed = text.indexOf(u'\n', pos);
        qsizetype end = lineFeed < 0 ? text.size() : lineFeed;
        const qsizetype next = lineFeed < 0 ? text.size() : lineFeed + 1;
        if (lineFeed >= 0 && end > pos && text[end - 1] == u'\r')
            --end;
        const QStringView line = text.mid(pos, end - pos);
        lines.push_back({line, text.mid(end, next - end), lines.empty() ? -1 : RowOfLine(line)});
        pos = next;
    }
}

} // namespace

CScriptWriter::CScriptWriter(const CSynchArray &document, const CTreeOptionsCtrl &tree)
    : m_document(document)
    , m_tree(tree)
    , m_lineEnd(kLineEnd)
{
}

void CScriptWriter::WriteText(QStringView text)
{
    m_out.append(text);
}

void CScriptWriter::WriteLine(int row, QStringView value)
{
    if (m_bCollect) {
        // One line per setting, whichever of its items wrote it.
        const int field = SettingCatalogue()[size_t(row)].field;
        m_collected.emplace_back(SettingFields()[size_t(field)].catalogueRow, value.toString());
        return;
    }
    m_out.append(m_keys[row]);
    m_out.append(u'=');
    m_out.append(value);
    m_out.append(m_lineEnd);
}

void CScriptWriter::WriteKept(QStringView text)
{
    if (text.isEmpty())
        return;
    CloseLine();
    m_out.append(text);
    m_bLineOpen = !text.endsWith(u'\n');
}

void CScriptWriter::CloseLine()
{
    if (m_bLineOpen)
        m_out.append(m_lineEnd);
    m_bLineOpen = false;
}

bool CScriptWriter::KeepsLayout() const
{
    return ScriptLayoutOf(m_tree.invisibleRootItem()) != nullptr;
}

const CRootSource *CScriptWriter::SourceOf(const QTreeWidgetItem *root) const
{
    const QVariant value = root->data(0, kRootLinesRole);
    if (!value.isValid())
        return nullptr;
    const CRootSource *source = static_cast<const CRootLines *>(value.constData())->source.get();
    return source && source->layout == m_layout && source->section >= 0 ? source : nullptr;
}

QString CScriptWriter::ScriptText()
{
    Begin();
    WriteRoots(0, m_tree.topLevelItemCount());
    return End();
}

void CScriptWriter::Begin()
{
    BeginStream();
    m_bStreaming = false;
    if (m_layout) {
        PlanSteps();
        m_nextStep = 0;
    }
}

void CScriptWriter::BeginStream()
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
    m_layout = ScriptLayoutOf(m_tree.invisibleRootItem());
    m_lineEnd = m_layout ? m_layout->LineEnd() : kLineEnd;
    m_bLineOpen = false;
    m_steps.clear();
    m_pending.clear();
    m_nextSection = 0;
    m_bStreaming = true;
    WritePreamble();
}

int CScriptWriter::RootCount() const
{
    return m_tree.topLevelItemCount();
}

void CScriptWriter::WriteRoots(int first, int count)
{
    if (m_layout) {
        for (int roots = 0; m_nextStep < m_steps.size(); ++m_nextStep) {
            const Step &step = m_steps[m_nextStep];
            if (step.root && roots++ == count)
                break;
            WriteStep(step);
        }
        return;
    }
    const int end = std::min(first + count, m_tree.topLevelItemCount());
    for (int i = first; i < end; ++i)
        WriteSection(m_tree.topLevelItem(i));
}

QString CScriptWriter::End()
{
    if (!m_layout) {
        WriteUnloadedSections();
    } else if (m_bStreaming) {
        StreamPending(true);
    } else {
        for (; m_nextStep < m_steps.size(); ++m_nextStep)
            WriteStep(m_steps[m_nextStep]);
    }
    return std::move(m_out);
}

void CScriptWriter::PlanSteps()
{
    const auto &places = m_layout->Places();
    const int count = m_tree.topLevelItemCount();
    // Each section is written for the first root loaded from it; a copy of
    // that root (Repeat Action) is a new section.
    std::vector<qsizetype> sectionOf(size_t(count), -1);
    std::vector<char> claimed(places.size(), 0);
    for (int i = 0; i < count; ++i) {
        const CRootSource *source = SourceOf(m_tree.topLevelItem(i));
        if (source && !claimed[size_t(source->section)]) {
            claimed[size_t(source->section)] = 1;
            sectionOf[size_t(i)] = source->section;
        }
    }
    // The roots that stay in their sections' places: the longest run, in
    // tree order, whose sections the loader read in that order. The others
    // were moved or are new; each follows the root before it in the tree.
    std::vector<int> tails;
    std::vector<int> before(size_t(count), -1);
    const auto order = [&](int i) { return places[size_t(sectionOf[size_t(i)])].loadOrder; };
    for (int i = 0; i < count; ++i) {
        if (sectionOf[size_t(i)] < 0)
            continue;
        const auto at = std::lower_bound(tails.begin(), tails.end(), order(i),
                                         [&](int j, qint64 value) { return order(j) < value; });
        before[size_t(i)] = at == tails.begin() ? -1 : *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<char> inPlace(size_t(count), 0);
    std::vector<int> rootOfSection(places.size(), -1);
    for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[size_t(i)]) {
        inPlace[size_t(i)] = 1;
        rootOfSection[size_t(sectionOf[size_t(i)])] = i;
    }
    // A dead duplicate stays dead while a root of its name is written before it.
    const bool duplicates = m_layout->HasDuplicates();
    QSet<QString> written;
    m_steps.reserve(size_t(count) + places.size());
    const auto add = [&](int first) {
        for (int i = first; i < count && (i == first || !inPlace[size_t(i)]); ++i) {
            const QTreeWidgetItem *root = m_tree.topLevelItem(i);
            m_steps.push_back({root, sectionOf[size_t(i)]});
            if (duplicates)
                written.insert(root->text(0).toCaseFolded());
        }
    };
    if (count > 0 && !inPlace[0])
        add(0);
    for (size_t s = 0; s < places.size(); ++s) {
        if (rootOfSection[s] >= 0) {
            add(rootOfSection[s]);
        } else if (places[s].kind == CScriptLayout::Kind::Unloaded) {
            m_steps.push_back({nullptr, qsizetype(s)});
        } else if (places[s].kind == CScriptLayout::Kind::Duplicate) {
            const QStringView text = m_layout->SectionText(qsizetype(s));
            const QString name = text.mid(1, text.indexOf(u']') - 1).toString().toCaseFolded();
            if (written.contains(name))
                m_steps.push_back({nullptr, qsizetype(s)});
        }
        // A loaded section no root stays in was moved or deleted.
    }
}

void CScriptWriter::WriteStep(const Step &step)
{
    if (!step.root)
        WriteKept(m_layout->SectionText(step.section));
    else if (step.section >= 0)
        WriteMerged(step.root, *SourceOf(step.root));
    else
        WriteNewSection(step.root);
}

void CScriptWriter::WriteNewSection(const QTreeWidgetItem *root)
{
    // A root that writes nothing leaves the last line read as it ends.
    if (WritesNothing(root))
        return;
    CloseLine();
    WriteSection(root);
}

void CScriptWriter::WriteRoot(const QTreeWidgetItem *root)
{
    const CRootSource *source = m_layout ? SourceOf(root) : nullptr;
    if (!source) {
        WriteNewSection(root);
        return;
    }
    // Written aside, then put in its section's place.
    QString before = std::exchange(m_out, QString());
    const bool open = std::exchange(m_bLineOpen, false);
    WriteMerged(root, *source);
    m_pending.emplace_back(source->section, std::exchange(m_out, std::move(before)));
    m_bLineOpen = open;
    StreamPending(false);
}

void CScriptWriter::StreamPending(bool ending)
{
    const auto &places = m_layout->Places();
    const qsizetype count = qsizetype(places.size());
    for (; m_nextSection < count; ++m_nextSection) {
        const auto held = std::find_if(m_pending.begin(), m_pending.end(),
                                       [&](const auto &pending) { return pending.first == m_nextSection; });
        if (held != m_pending.end()) {
            WriteKept(held->second);
            m_pending.erase(held);
        } else if (places[size_t(m_nextSection)].kind != CScriptLayout::Kind::Loaded) {
            WriteKept(m_layout->SectionText(m_nextSection));
        } else if (!ending) {
            break; // its root is still to come
        }
    }
}

void CScriptWriter::WriteMerged(const QTreeWidgetItem *root, const CRootSource &source)
{
    const CRootLines lines = RootLinesOf(root);
    const CRootLines &loaded = source.loaded;
    // Carried lines changed otherwise than by lines added at their end: anew.
    if (lines.atLines != loaded.atLines || lines.headerRest != loaded.headerRest
        || lines.keptLines.size() < loaded.keptLines.size()
        || !std::equal(loaded.keptLines.begin(), loaded.keptLines.end(), lines.keptLines.begin())) {
        CloseLine();
        WriteSection(root);
        return;
    }
    // What the root's settings are now, one line each, in catalogue order.
    const QString name = root->text(0);
    m_bDefault = name == u"Default";
    m_radioWritten = -1;
    m_collected.clear();
    m_bCollect = true;
    WriteLevel(root, SettingGroup::None);
    m_bCollect = false;

    const QStringView text = m_layout->SectionText(source.section);
    static thread_local std::vector<KeptLine> kept;
    CutLines(text, kept);
    const KeptLine &header = kept.front();
    const QStringView end = header.end.isEmpty() ? m_lineEnd : header.end;
    // The loader reads "[action1]" as Action1: a name renamed only in case is the same.
    const bool renamed = header.text.mid(1, header.text.indexOf(u']') - 1).compare(name, Qt::CaseInsensitive) != 0;

    std::array<int, kCatalogueSize> now;      // the collected line of each setting, or -1
    std::array<char, kCatalogueSize> found{}; // the section holds the setting's key
    now.fill(-1);
    for (size_t i = 0; i < m_collected.size(); ++i)
        now[size_t(m_collected[i].first)] = int(i);
    bool changed = renamed || lines.keptLines.size() > loaded.keptLines.size();
    qsizetype lastText = 0;
    for (qsizetype i = 1; i < qsizetype(kept.size()); ++i) {
        const KeptLine &line = kept[size_t(i)];
        if (!line.text.trimmed().isEmpty())
            lastText = i;
        if (line.row < 0 || found[size_t(line.row)])
            continue;
        found[size_t(line.row)] = 1;
        const int at = now[size_t(line.row)];
        changed |= at < 0 || line.text.mid(line.text.indexOf(u'=') + 1) != m_collected[size_t(at)].second;
    }
    for (const auto &[row, value] : m_collected)
        changed |= !found[size_t(row)];
    if (!changed) {
        WriteKept(text);
        return;
    }

    const auto put = [&](QStringView line, QStringView lineEnd) {
        CloseLine();
        m_out.append(line);
        m_out.append(lineEnd);
        m_bLineOpen = lineEnd.isEmpty();
    };
    // The settings the section gains go after the nearest one before them
    // in the catalogue that it holds and keeps, or first.
    const auto putAdded = [&](int after) {
        for (const auto &[row, value] : m_collected) {
            if (found[size_t(row)])
                continue;
            int anchor = row - 1;
            while (anchor >= 0 && !(found[size_t(anchor)] && now[size_t(anchor)] >= 0))
                --anchor;
            if (anchor == after)
                put(QString(m_keys[row] + u'=' + value), end);
        }
    };
    if (!renamed)
        put(header.text, header.end);
    else
        put(QString(u'[' + name + u']' + header.text.mid(header.text.indexOf(u']') + 1).toString()), end);
    putAdded(-1);
    std::array<char, kCatalogueSize> taken{};
    for (qsizetype i = 1; i < qsizetype(kept.size()); ++i) {
        const KeptLine &line = kept[size_t(i)];
        if (line.row < 0) {
            put(line.text, line.end);
        } else if (now[size_t(line.row)] < 0) {
            // Removed, with the dead duplicates of its key.
        } else if (taken[size_t(line.row)]) {
            put(line.text, line.end);
        } else {
            taken[size_t(line.row)] = 1;
            const QString &value = m_collected[size_t(now[size_t(line.row)])].second;
            const qsizetype equals = line.text.indexOf(u'=');
            if (line.text.mid(equals + 1) == value)
                put(line.text, line.end);
            else
                put(QString(line.text.left(equals + 1).toString() + value), end);
            putAdded(line.row);
        }
        if (i == lastText)
            for (qsizetype k = loaded.keptLines.size(); k < lines.keptLines.size(); ++k)
                put(lines.keptLines[k], end);
    }
    if (lastText == 0)
        for (qsizetype k = loaded.keptLines.size(); k < lines.keptLines.size(); ++k)
            put(lines.keptLines[k], end);
}

void CScriptWriter::WritePreamble()
{
    const QVariant held = m_tree.invisibleRootItem()->data(0, kScriptLinesRole);
    if (m_layout) {
        // Lines added to those read go after the last of them.
        const QStringView preamble = m_layout->Preamble();
        const QStringList lines = held.toStringList();
        static thread_local std::vector<KeptLine> kept;
        CutLines(preamble, kept);
        qsizetype count = 0;
        qsizetype after = 0; // where the last line read ends
        bool same = true;
        for (const KeptLine &line : kept) {
            if (line.text.isEmpty())
                continue;
            same = same && count < lines.size() && lines[count] == line.text;
            ++count;
            after = line.text.data() - preamble.data() + line.text.size() + line.end.size();
        }
        if (!held.isValid() || (same && lines.size() >= count)) {
            WriteKept(preamble.left(after));
            for (qsizetype i = held.isValid() ? count : lines.size(); i < lines.size(); ++i) {
                CloseLine();
                WriteText(lines[i]);
                WriteText(m_lineEnd);
            }
            WriteKept(preamble.mid(after));
            return;
        }
    }
    if (held.isValid()) {
        for (const QString &line : held.toStringList()) {
            WriteText(line);
            WriteText(m_lineEnd);
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

bool CScriptWriter::WritesNothing(const QTreeWidgetItem *root)
{
    // An action is written even when it sets nothing: it still runs, with
    // everything inherited. A Default without settings or lines is not.
    return root->text(0) == u"Default" && root->childCount() == 0 && RootLinesOf(root).IsEmpty();
}

void CScriptWriter::WriteSection(const QTreeWidgetItem *root)
{
    const QString name = root->text(0);
    const CRootLines lines = RootLinesOf(root);
    m_bDefault = name == u"Default";
    if (WritesNothing(root))
        return;
    WriteText(u"[");
    WriteText(name);
    WriteText(u"]");
    WriteText(lines.headerRest);
    WriteText(m_lineEnd);
    for (const QString &line : lines.atLines) {
        WriteText(line);
        WriteText(m_lineEnd);
    }
    m_radioWritten = -1;
    WriteLevel(root, SettingGroup::None);
    for (const QString &line : lines.keptLines) {
        WriteText(line);
        WriteText(m_lineEnd);
    }
    WriteText(m_lineEnd);
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
            continue; // not a row of this level: passed over
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
    if (prompt && IsUnchangedSinceLoad(item, text) && IsUnchangedSinceLoad(prompt, prompt->text(0))) {
        WriteLine(row, LoadedRawValueOf(item));
        return;
    }
    int code = OperationFromText(text.mid(m_labels[row].size()));
    bool prompted = false;
    if (prompt)
        CTreeOptionsCtrl::GetCheckState(prompt, prompted);
    if (prompted && code >= 0)
        code = code == 6 ? -1 : -2 - code; // "Produce Compare Report" prompted is "Always Prompt"
    WriteLine(row, QString::number(code));
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
            WriteLine(row, LoadedRawValueOf(item));
        else
            WriteLine(row, entry.box == 0 ? u"0" : u"1");
        return;
    }
    case SettingKind::Check: {
        if (unchanged) {
            WriteLine(row, LoadedRawValueOf(item));
            return;
        }
        bool checked = false;
        CTreeOptionsCtrl::GetCheckState(item, checked);
        WriteLine(row, checked ? u"1" : u"0");
        return;
    }
    case SettingKind::Sort: {
        if (unchanged) {
            WriteLine(row, LoadedRawValueOf(item));
            return;
        }
        const int code = SortFromText(text.mid(m_labels[row].size()));
        // An action that leaves the key out would inherit Default's order.
        if (code != -1 || !m_bDefault)
            WriteLine(row, QString::number(code));
        return;
    }
    default: {
        if (unchanged) {
            WriteLine(row, LoadedRawValueOf(item));
            return;
        }
        const QStringView value = QStringView(text).mid(m_labels[row].size());
        if (!value.isEmpty())
            WriteLine(row, value);
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
    const int row = field.catalogueRow;
    if (!mask.changed && mask.boxes == field.BoxCount() && mask.hasRaw) {
        WriteLine(row, mask.raw);
        return;
    }
    const quint32 value = mask.outside | mask.bits;
    // In Default, the built-in values go without saying; an action spells out
    // whatever its boxes show, or it would inherit Default's.
    if (m_bDefault && value == quint32(field.builtIn))
        return;
    // As the loader reads it: a mask with its high bit set is a negative number.
    WriteLine(row, QString::number(qint32(value)));
}
