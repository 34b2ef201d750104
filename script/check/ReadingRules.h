#pragma once
// The rules about how the script reads: lines outside any section, broken
// headers, repeated and unloadable sections, keys the editor does not know,
// repeats or never matches, and ignore lines that name no rule.

#include "script/SettingFields.h"

#include <QString>

#include <array>

class CCheckContext;
class CKnownKeys;
class CSection;

class CReadingRules
{
public:
    CReadingRules(CCheckContext &context, const CKnownKeys &keys) : m_context(context), m_keys(keys) {}
    // The lines before the first header, and a file without any header.
    void CheckPreamble();
    // A section's name and the lines it keeps without '='.
    void CheckSection(const CSection &section);
    // The keys of loaded section `index`, finding the line of each.
    void CheckKeys(size_t index);

private:
    void CheckIgnoreLine(QStringView line, const QString &section);

    CCheckContext &m_context;
    const CKnownKeys &m_keys;
};
