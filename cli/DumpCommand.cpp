#include "cli/DumpCommand.h"

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "framework/ModalUi.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

namespace {

const char *EncodingName(ScriptEncoding encoding)
{
    switch (encoding) {
    case ScriptEncoding::Utf16Le: return "\"utf-16le\"";
    case ScriptEncoding::Utf8: return "\"utf-8\"";
    case ScriptEncoding::Ansi: break;
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

bool WriteDumpJson(const CSynchArray &document, CJsonWriter &json)
{
    json.Raw("{\n  \"encoding\": ").Raw(EncodingName(document.m_ScriptFile.Encoding())).Raw(",\n");
    json.Raw("  \"defaultAtLines\": ").StringArray(document.m_arrDefaultAtLines).Raw(",\n");
    json.Raw("  \"default\": ");
    WriteSettings(json, document.m_Default, "  ");
    json.Raw(",\n");
    if (document.GetSize() == 0) {
        json.Raw("  \"actions\": []\n");
    } else {
        json.Raw("  \"actions\": [\n");
        for (qsizetype i = 0; i < document.GetSize(); ++i) {
            const CSynchSettings &record = *document.GetAt(i);
            json.Raw(i > 0 ? ",\n    {\n      \"name\": " : "    {\n      \"name\": ")
                .String(document.m_arrActionNames.at(i))
                .Raw(",\n      \"atLines\": ")
                .StringArray(record.m_arrAtLines)
                .Raw(",\n      \"settings\": ");
            WriteSettings(json, record, "      ");
            json.Raw("\n    }");
        }
        json.Raw("\n  ]\n");
    }
    json.Raw("}\n");
    return json.Flush();
}

int RunDump(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return UsageError(arguments.isEmpty() ? QStringLiteral("mbscript dump: no FILE given")
                                              : QStringLiteral("mbscript dump: exactly one FILE expected"));
    CSynchArray document;
    document.LoadScript(arguments.first());
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUnreadable;
    CJsonWriter json(stdout);
    if (!WriteDumpJson(document, json)) {
        ModalUi().ShowMessage(QStringLiteral("mbscript dump: the JSON could not be written to standard output."));
        return kExitUnwritable;
    }
    return kExitOk;
}
