#include "script/SynchSettings.h"

#include "framework/FileName.h"
#include "script/DateValue.h"
#include "script/LoadOptions.h"
#include "script/ScriptFile.h"
#include "script/SectionTreeBuilder.h"
#include "script/SettingFields.h"
#include "script/TextEscapes.h"
#include "script/WideNumbers.h"

#include <limits>

namespace {

QString DateContext(const CScriptFile &file, const QString &section, const SettingField &field,
                    const QString &text)
{
    return QStringLiteral("\"%1\", section \"%2\", key \"%3\", value \"%4\"")
        .arg(ShownFileName(file.m_strPath), section, field.Key(), text);
}

} // namespace

CSynchSettings::CSynchSettings()
    : m_strMask(QStringLiteral("*.*")),
      m_bSearchSubdir(1),
      m_bShowDifferent(1),
      m_bShowIdentical(1),
      m_bShowFilesIn1Dir(1),
      m_bUseOSOperations(0),
      m_bMatchInSubdir(0),
      m_nOperation(-1),
      m_bConfirmUpdates(1),
      m_bNewerOverwrite(0),
      m_bOlderOverwrite(1),
      m_nCheckSameSizeFiles(0),
      m_bGroupFiles(0),
      m_nTimeCheckPrecision(3),
      m_nAddSecondsToSecondDir(0),
      m_bCaseSensitive(0),
      m_nMinDate(0),
      m_nMaxDate(0),
      m_nMinSize(0),
      m_nMaxSize(0),
      m_nSkipFilesMask(0),
      m_bReverseFilters(0),
      m_nIgnoreAttributes(0x37),
      m_nSortCompare(-1),
      m_bSortAscending(1),
      m_bAlwaysShowArchives(1),
      m_bAppendToOutputFile(0),
      m_bIgnoreWhitespace(0),
      m_bIgnoreCase(0),
      m_bShowProgress(1),
      m_bDisplayErrorMessages(0),
      m_bAllowCancel(1)
{
}

CSynchSettings::CSynchSettings(const CSynchSettings &other) = default;

CSynchSettings &CSynchSettings::operator=(const CSynchSettings &other)
{
    // Every setting field, through the loader's table; m_arrAtLines stays.
    if (this != &other)
        for (const SettingField &field : SettingFields())
            field.Copy(*this, other);
    return *this;
}

bool CSynchSettings::IsEqual(const CSynchSettings &o) const
{
    for (const SettingField &field : SettingFields())
        if (!field.Equal(*this, o))
            return false;
    return true;
}

void CSynchSettings::LoadSection(const QString &name, const CScriptFile &file, ISectionTreeBuilder *builder,
                                 const LoadOptions &options)
{
    const CSection *section = file.FindSection(name);
    if (section) {
        for (const SettingField &field : SettingFields()) {
            const QStringView key(field.key);
            const qsizetype line = section->FindLine(key);
            if (line < 0)
                continue;
            const QStringView raw = section->ValueOfLine(line);
            switch (field.kind) {
            case FieldKind::Text:
            case FieldKind::EscapedText:
                this->*field.text = raw.toString();
                break;
            case FieldKind::Int32:
            case FieldKind::NonNegative:
                this->*field.int32 = WideToInt32(raw);
                break;
            case FieldKind::Mask:
                this->*field.mask = quint32(WideToInt32(raw));
                break;
            case FieldKind::Int64:
                this->*field.int64 = WideToInt64(raw);
                break;
            case FieldKind::Date:
                if (!raw.isEmpty()) {
                    const QString text = raw.toString();
                    DateFields fields;
                    if (DateError(fields, text) == nullptr) {
                        this->*field.date = DateToFileTime(fields, true);
                    } else if (options.reportInvalidDates) {
                        // The message names the place; it is made only for a date that needs it.
                        DateFields again;
                        ValidateDate(again, text, DateContext(file, name, field, text));
                    }
                }
                break;
            }
            if (builder)
                builder->KeyFound(field, *this, raw, line);
        }
    }
    // Found or not: the offset is never negative, and the free texts carry
    // their control characters resolved.
    if (m_nAddSecondsToSecondDir < 0)
        m_nAddSecondsToSecondDir = m_nAddSecondsToSecondDir == std::numeric_limits<qint32>::min()
            ? std::numeric_limits<qint32>::max()
            : -m_nAddSecondsToSecondDir;
    UnescapeControls(m_strOutputHeader);
    UnescapeControls(m_strOutputFooter);
}
