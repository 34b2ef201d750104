#pragma once
// The rules about how the script reads: lines outside any section, broken
// headers, repeated and unloadable sections, and keys the editor does not
// know, repeats or never matches.

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
    void Run();

private:
    void CheckPreamble(bool anySection);
    void CheckSectionName(const CSection &section);
    void CheckKeys(const CSection &section, const QString &name, std::array<qint32, kSettingFieldCount> &firstLines);

    CCheckContext &m_context;
    const CKnownKeys &m_keys;
};
