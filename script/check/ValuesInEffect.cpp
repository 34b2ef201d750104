#include "script/check/ValuesInEffect.h"

#include "script/DateValue.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

namespace {

// Whether `section` gives the field a value: a date only with a text that reads.
bool SetsValue(const CSection *section, const SettingField &field, QString &raw)
{
    if (!section || !section->GetString(QStringView(field.key), raw))
        return false;
    if (field.kind != FieldKind::Date)
        return true;
    DateFields fields;
    return !raw.isEmpty() && DateError(fields, raw) == nullptr;
}

QString MaskText(quint32 mask)
{
    static const std::pair<quint32, const char *> bits[] = {
        {0x01, "read-only"}, {0x02, "hidden"}, {0x10, "directories"}, {0x20, "archive"}, {0x04, "system"}};
    QStringList names;
    for (const auto &[bit, name] : bits)
        if (mask & bit)
            names << QLatin1String(name);
    if (const quint32 other = mask & ~quint32(0x37))
        names << QStringLiteral("0x%1").arg(other, 0, 16);
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

QString Shown(const SettingField &field, const CSynchSettings &record, const QString &dateText)
{
    switch (field.type) {
    case SettingKind::Date:
        return dateText.isEmpty() ? QStringLiteral("none") : dateText;
    case SettingKind::Mask:
        return MaskText(record.*field.mask);
    case SettingKind::Operation: {
        const qint32 code = record.*field.int32;
        const QString name = OperationNameForCode(code);
        if (name.isEmpty())
            return QString::number(code);
        return code <= -2 ? name + QStringLiteral(", prompted") : name;
    }
    case SettingKind::Sort: {
        const QString name = SortNameForCode(record.*field.int32);
        return name.isEmpty() ? QString::number(record.*field.int32) : name;
    }
    case SettingKind::Radio: // the button that shows it
        return field.Label(record.*field.int32 ? 1 : 0);
    case SettingKind::Check:
        return record.*field.int32 ? QStringLiteral("on") : QStringLiteral("off");
    default:
        break;
    }
    return field.ValueText(record);
}

} // namespace

QString OriginText(ValueOrigin origin)
{
    switch (origin) {
    case ValueOrigin::ThisAction:
        return QStringLiteral("this action");
    case ValueOrigin::Default:
        return QStringLiteral("Default");
    case ValueOrigin::BuiltIn:
        break;
    }
    return QStringLiteral("built-in");
}

namespace {

std::vector<EffectiveValue> ValuesOf(const CSynchArray &document, const CSynchSettings &record, const QString &name,
                                     bool isDefault)
{
    const CScriptFile &file = document.m_ScriptFile;
    const CSection *defaults = file.FindSection(u"Default");
    const CSection *own = isDefault ? defaults : file.FindSection(name);

    std::vector<EffectiveValue> values;
    values.reserve(kSettingFieldCount);
    for (const SettingField &field : SettingFields()) {
        QString raw;
        QString inheritedRaw;
        EffectiveValue value{&field, {}, ValueOrigin::BuiltIn};
        if (SetsValue(own, field, raw)) {
            value.origin = isDefault ? ValueOrigin::Default : ValueOrigin::ThisAction;
            value.overridesDefault = !isDefault && !field.Equal(record, document.m_Default);
        } else if (!isDefault && SetsValue(defaults, field, inheritedRaw)) {
            value.origin = ValueOrigin::Default;
            raw = inheritedRaw;
        }
        value.value = Shown(field, record,
                            field.kind == FieldKind::Date && value.origin != ValueOrigin::BuiltIn ? raw : QString());
        values.push_back(value);
    }
    return values;
}

} // namespace

std::vector<EffectiveValue> ValuesInEffect(const CSynchArray &document, const QString &name)
{
    const bool isDefault = name.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0;
    if (isDefault)
        return ValuesOf(document, document.m_Default, name, true);
    for (qsizetype i = 0; i < document.GetSize(); ++i)
        if (document.m_arrActionNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return ValuesInEffect(document, i);
    return {};
}

std::vector<EffectiveValue> ValuesInEffect(const CSynchArray &document, qsizetype action)
{
    return ValuesOf(document, *document.GetAt(action), document.m_arrActionNames.at(action), false);
}
