#include "cli/DumpCommand.h"

#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "cli/StandardStreams.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

#include <cstdio>

namespace {

QString EncodingName(ScriptEncoding encoding)
{
    switch (encoding) {
    case ScriptEncoding::Utf16Le: return QStringLiteral("utf-16le");
    case ScriptEncoding::Utf8: return QStringLiteral("utf-8");
    case ScriptEncoding::Ansi: break;
    }
    return QStringLiteral("ansi");
}

QString SettingsJson(const CSynchSettings &record, const QString &indent)
{
    QStringList members;
    for (const SettingField &field : SettingFields()) {
        const QString value = field.ValueText(record);
        members << indent + QStringLiteral("  ") + JsonString(field.Key()) + QStringLiteral(": ")
                + (field.IsText() ? JsonString(value) : value);
    }
    return QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) + QLatin1Char('\n') + indent
        + QLatin1Char('}');
}

} // namespace

QString DumpJson(const CSynchArray &document)
{
    QString out = QStringLiteral("{\n");
    out += QStringLiteral("  \"encoding\": %1,\n").arg(JsonString(EncodingName(document.m_ScriptFile.Encoding())));
    out += QStringLiteral("  \"defaultAtLines\": %1,\n").arg(JsonStringArray(document.m_arrDefaultAtLines));
    out += QStringLiteral("  \"default\": %1,\n").arg(SettingsJson(document.m_Default, QStringLiteral("  ")));
    QStringList actions;
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const CSynchSettings &record = *document.GetAt(i);
        actions << QStringLiteral("    {\n      \"name\": %1,\n      \"atLines\": %2,\n      \"settings\": %3\n    }")
                       .arg(JsonString(document.m_arrActionNames.at(i)), JsonStringArray(record.m_arrAtLines),
                            SettingsJson(record, QStringLiteral("      ")));
    }
    out += actions.isEmpty() ? QStringLiteral("  \"actions\": []\n")
                             : QStringLiteral("  \"actions\": [\n") + actions.join(QStringLiteral(",\n"))
                                   + QStringLiteral("\n  ]\n");
    out += QStringLiteral("}\n");
    return out;
}

int RunDump(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return UsageError(arguments.isEmpty() ? QStringLiteral("mbscript dump: no FILE given")
                                              : QStringLiteral("mbscript dump: exactly one FILE expected"));
    CSynchArray document;
    document.LoadScript(InputPath(arguments.first()));
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUnreadable;
    const QByteArray json = DumpJson(document).toUtf8();
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    return kExitOk;
}
