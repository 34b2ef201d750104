#pragma once
// What the rules of the checker share: the loaded document, the line of any
// text the reader kept, the sections that load with their records, the rules
// the options and the script's ignore lines quiet, and the sink the rules
// report their problems to.

#include "script/SettingFields.h"
#include "script/check/CheckProblem.h"
#include "script/check/CheckRules.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <vector>

class CScriptFile;
class CSection;
class CSynchArray;
class CSynchSettings;
class ICheckSink;

class CCheckContext
{
public:
    // A section that loads: "Default" (when the script has it) or an action.
    struct LoadedSection
    {
        const CSection *section;
        const CSynchSettings *record;
        QString name; // as the editor names it: "Default", "Action%d"
        bool isDefault;
    };

    // `ignored`: the rules quieted everywhere, besides the script's own ignore lines.
    CCheckContext(const CSynchArray &document, CheckRuleSet ignored, ICheckSink &sink);

    const CSynchArray &Document() const { return m_document; }
    const CScriptFile &File() const;
    const std::vector<LoadedSection> &Loaded() const { return m_loaded; }
    // The index in Loaded() of the section of the file at `fileIndex`, or -1.
    qsizetype LoadedIndexOf(qsizetype fileIndex) const { return m_loadedByFile[size_t(fileIndex)]; }
    // The "Default" section, or nullptr.
    const CSection *DefaultSection() const { return m_pDefault; }
    // The action section of record `index`.
    const CSection *ActionSection(qsizetype index) const
    {
        return m_loaded[size_t(index) + (m_pDefault ? 1 : 0)].section;
    }

    // For loaded section `index`, the stored line each key of the loader's
    // table is read from (-1: none), as the reading rules found them.
    using KeyLines = std::array<qint32, kSettingFieldCount>;
    KeyLines &KeyLinesOf(size_t index) { return m_keyLines[index]; }

    // The 1-based line of a view of the file's text (CScriptFile::Text); 0 otherwise.
    qsizetype LineOf(QStringView view) const;
    qsizetype HeaderLine(const CSection &section) const;
    // The line of stored line `index` of `section`.
    qsizetype LineOfStored(const CSection &section, qsizetype index) const;
    // The line that sets `key` in `section`, or 0 when it does not.
    qsizetype LineOfKey(const CSection *section, QStringView key) const;

    // Whether a problem of `rule` in `section` is to be reported (not quieted,
    // and wanted by the sink): when true, Deliver must follow.
    bool Wants(const QString &section, const char *rule, CheckSeverity severity);
    void Deliver(qsizetype line, const QString &section, const QString &key, CheckSeverity severity, const char *rule,
                 const QString &message);
    // Wants, then Deliver.
    void Report(qsizetype line, const QString &section, const QString &key, CheckSeverity severity, const char *rule,
                const QString &message);

private:
    qsizetype LineOfOffset(qsizetype offset) const;
    void ReadIgnoreLines();

    const CSynchArray &m_document;
    ICheckSink &m_sink;
    const CSection *m_pDefault = nullptr;
    std::vector<LoadedSection> m_loaded;
    std::vector<qsizetype> m_loadedByFile;
    std::vector<KeyLines> m_keyLines;
    std::vector<qint32> m_lineStarts;
    // Rules quieted everywhere, and in the sections named (folded case).
    CheckRuleSet m_ignored = 0;
    QHash<QString, CheckRuleSet> m_sectionIgnores;
    // The last rule asked about, and its index.
    const char *m_pLastRule = nullptr;
    int m_nLastRule = -1;
};
