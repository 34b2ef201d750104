#include "script/check/OverviewTable.h"

#include "framework/CsvWriter.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

const std::vector<const SettingField *> &OverviewFields()
{
    static const std::vector<const SettingField *> fields = [] {
        std::vector<const SettingField *> shown;
        for (const SettingField &field : SettingFields())
            if (field.IsShown())
                shown.push_back(&field);
        return shown;
    }();
    return fields;
}

std::vector<EffectiveValue> OverviewRow(const CSynchArray &document, qsizetype action)
{
    std::vector<EffectiveValue> all = ValuesInEffect(document, action);
    std::vector<EffectiveValue> row;
    row.reserve(OverviewFields().size());
    for (EffectiveValue &value : all)
        if (value.field->IsShown())
            row.push_back(std::move(value));
    return row;
}

QByteArray OverviewCsv(const CSynchArray &document)
{
    CCsvWriter csv;
    QStringList fields{QStringLiteral("Action")};
    for (const SettingField *field : OverviewFields())
        fields << field->Key();
    csv.AddRecord(fields);
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        fields = {document.m_arrActionNames.at(i)};
        for (const EffectiveValue &value : OverviewRow(document, i))
            fields << value.value;
        csv.AddRecord(fields);
    }
    return csv.Bytes();
}
