#pragma once
// What the rules of the checker share: the loaded document, the line of any
// text the reader kept, the sections that load with their records, and the
// list the rules report their problems into.

#include "script/SettingFields.h"
#include "script/check/CheckProblem.h"

#include <QString>
#include <QStringView>

#include <array>
#include <vector>

class CScriptFile;
class CSection;
class CSynchArray;
class CSynchSettings;

class CCheckContext
{
public:
    // A section that loads: "Default" (when the script has it) or an action.
    struct LoadedSection
    {
        const CSection *section;
        const CSynchSettings *record;
        QString name;  // as the editor names it: "Default", "Action%d"
        bool isDefault;
    };

    explicit CCheckContext(const CSynchArray &document);

    const CSynchArray &Document() const { return m_document; }
    const CScriptFile &File() const;
    const std::vector<LoadedSection> &Loaded() const { return m_loaded; }
    // The "Default" section, or nullptr.
    const CSection *DefaultSection() const { return m_pDefault; }
    // The action section of record `index`.
    const CSection *ActionSection(qsizetype index) const { return m_loaded[size_t(index) + (m_pDefault ? 1 : 0)].section; }

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

    void Report(qsizetype line, const QString &section, const QString &key, CheckSeverity severity,
                const char *rule, const QString &message);

    // The problems in file order (those of the whole script last).
    std::vector<CheckProblem> TakeProblems();

private:
    qsizetype LineOfOffset(qsizetype offset) const;

    const CSynchArray &m_document;
    const CSection *m_pDefault = nullptr;
    std::vector<LoadedSection> m_loaded;
    std::vector<KeyLines> m_keyLines;
    std::vector<qsizetype> m_lineStarts;
    std::vector<CheckProblem> m_problems;
};
