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

QString DateContext(const CScriptFile &file, const QString &section, const SettingField &field, const QString &text)
{
    return QStringLiteral("\"%1\", section \"%2\", key \"%3\", value \"%4\"")
        .arg(ShownFileName(file.m_strPath), section, field.Key(), text);
}

} // namespace

CSynchSettings::CSynchSettings() : CSynchSettings(BuiltIn()) {}

CSynchSettings::CSynchSettings(BuiltInTag)
{
    for (const SettingField &field : SettingFields())
        field.SetBuiltIn(*this);
}

const CSynchSettings &CSynchSettings::BuiltIn()
{
    // Made once (its numbers zeroed first, as static storage is), then copied.
    static const CSynchSettings record{BuiltInTag()};
    return record;
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
    // Found or not: a number taken as its absolute value is never negative,
    // and an escaped text carries its control characters resolved.
    for (const SettingField &field : SettingFields()) {
        if (field.kind == FieldKind::NonNegative && this->*field.int32 < 0)
            this->*field.int32 = this->*field.int32 == std::numeric_limits<qint32>::min()
                                     ? std::numeric_limits<qint32>::max()
                                     : -(this->*field.int32);
        else if (field.kind == FieldKind::EscapedText)
            UnescapeControls(this->*field.text);
    }
}
