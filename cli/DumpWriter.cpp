#include "cli/DumpWriter.h"

#include "cli/JsonWriter.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

#include <array>
#include <string>

namespace {

const char *EncodingName(ScriptEncoding encoding)
{
    switch (encoding) {
    case ScriptEncoding::Utf16Le:
        return "\"utf-16le\"";
    case ScriptEncoding::Utf8:
        return "\"utf-8\"";
    case ScriptEncoding::Ansi:
        break;
    }
    return "\"ansi\"";
}

// The keys as JSON members, `"Key": `, made once.
const std::array<std::string, kSettingFieldCount> &MemberNames()
{
    static const std::array<std::string, kSettingFieldCount> names = [] {
        std::array<std::string, kSettingFieldCount> made;
        for (size_t i = 0; i < made.size(); ++i) {
            CJsonWriter writer(nullptr);
            writer.String(QStringView(SettingFields()[i].key)).Raw(": ");
            made[i] = writer.Text();
        }
        return made;
    }();
    return names;
}

void WriteSettings(CJsonWriter &json, const CSynchSettings &record, std::string_view indent)
{
    json.Raw("{\n");
    const auto &fields = SettingFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const SettingField &field = fields[i];
        json.Raw(indent).Raw("  ").Raw(MemberNames()[i]);
        if (field.text)
            json.String(record.*field.text);
        else if (field.int32)
            json.Integer(record.*field.int32);
        else if (field.mask)
            json.Unsigned(record.*field.mask);
        else if (field.int64)
            json.Integer(record.*field.int64);
        else
            json.Unsigned(record.*field.date);
        json.Raw(i + 1 < fields.size() ? ",\n" : "\n");
    }
    json.Raw(indent).Raw("}");
}

} // namespace

void CDumpWriter::DefaultLoaded(const CSynchArray &document)
{
    m_bHeadWritten = true;
    m_json.Raw("{\n  \"encoding\": ").Raw(EncodingName(document.m_ScriptFile.Encoding())).Raw(",\n");
    m_json.Raw("  \"defaultAtLines\": ").StringArray(document.m_arrDefaultAtLines).Raw(",\n");
    m_json.Raw("  \"default\": ");
    WriteSettings(m_json, document.m_Default, "  ");
    m_json.Raw(",\n");
}

void CDumpWriter::ActionLoaded(const QString &name, const CSynchSettings &record)
{
    m_json.Raw(m_bAnyAction ? ",\n    {\n      \"name\": " : "  \"actions\": [\n    {\n      \"name\": ")
        .String(name)
        .Raw(",\n      \"atLines\": ")
        .StringArray(record.m_arrAtLines)
        .Raw(",\n      \"settings\": ");
    WriteSettings(m_json, record, "      ");
    m_json.Raw("\n    }");
    m_bAnyAction = true;
}

bool CDumpWriter::Finish(const CSynchArray &document)
{
    if (!m_bHeadWritten)
        DefaultLoaded(document);
    m_json.Raw(m_bAnyAction ? "\n  ]\n}\n" : "  \"actions\": []\n}\n");
    return m_json.Flush();
}
