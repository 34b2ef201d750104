#include "cli/GetCommand.h"

#include "cli/Commands.h"
#include "cli/LocaleOption.h"
#include "cli/StandardStreams.h"
#include "framework/FileName.h"
#include "framework/ModalUi.h"
#include "script/DateValue.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"

#include <memory>

namespace {

// The text of `field` the section `own` (or, inherited, "Default") holds, as
// the loader takes it: a date only when it reads.
bool RawInEffect(const CSection *own, const CSection *defaults, const SettingField &field, QString &raw)
{
    for (const CSection *section : {own, defaults}) {
        if (!section || !section->GetString(QStringView(field.key), raw))
            continue;
        DateFields fields;
        if (field.kind != FieldKind::Date || (!raw.isEmpty() && DateError(fields, raw) == nullptr))
            return true;
    }
    return false;
}

QString ValueInEffect(const CSynchArray &document, const CSynchSettings &record, const CSection *own,
                      const SettingField &field)
{
    QString raw;
    const bool found = RawInEffect(own, document.m_ScriptFile.FindSection(u"Default"), field, raw);
    if (field.kind == FieldKind::Date)
        return found ? raw : QString();
    if (field.text) // as written: an escaped text's \t stays \t
        return found ? raw : QString::fromUtf16(field.builtInText);
    return field.ValueText(record);
}

void Print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
}

} // namespace

int RunGet(const QStringList &argumentsIn)
{
    QStringList arguments = argumentsIn;
    if (arguments.size() == 1 && (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h")))
        return PrintCommandHelp("get");
    bool raw = false;
    std::optional<QLocale> locale;
    QStringList operands;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--raw")) {
            raw = true;
        } else if (argument == QLatin1String("--locale") || argument.startsWith(QLatin1String("--locale="))) {
            const bool joined = argument.size() > 8;
            const std::optional<QString> name = joined                     ? std::optional(argument.mid(9))
                                                : i + 1 < arguments.size() ? std::optional(arguments[++i])
                                                                           : std::nullopt;
            if (const int status = ReadLocaleOption("get", name, locale); status >= 0)
                return status;
        } else if (argument == QLatin1String("--")) {
            operands << arguments.mid(i + 1);
            break;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return UsageError(QStringLiteral("mbscript get: unknown option \"%1\"").arg(argument));
        } else {
            operands << argument;
        }
    }
    if (operands.size() < 2 || operands.size() > 3)
        return UsageError(QStringLiteral("mbscript get: FILE, SECTION and maybe KEY expected"));
    std::unique_ptr<CScopedDateLocale> dates;
    if (locale)
        dates = std::make_unique<CScopedDateLocale>(*locale);
    CSynchArray document;
    LoadOptions options;
    options.reportInvalidDates = false;
    document.LoadScript(InputPath(operands[0]), nullptr, options);
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUsage;
    const QString &name = operands[1];
    const CSection *own = document.m_ScriptFile.FindSection(name);
    const QString key = operands.value(2);
    if (raw) {
        const qsizetype line = own && !key.isEmpty() ? own->FindLine(key) : -1;
        if (line >= 0)
            Print(own->ValueOfLine(line).toString() + u'\n');
        for (qsizetype i = 0; own && key.isEmpty() && i < own->GetCount(); ++i)
            Print(own->GetLine(i).toString() + u'\n');
        return (line >= 0 || (own && key.isEmpty())) ? kExitOk : kExitUnreadable;
    }
    const bool isDefault = name.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0;
    const CSynchSettings *record = isDefault ? &document.m_Default : nullptr;
    for (qsizetype i = 0; !record && i < document.GetSize(); ++i)
        if (document.m_arrActionNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            record = document.GetAt(i);
    if (!record) {
        ModalUi().ShowMessage(QStringLiteral("mbscript get: %1 has no section %2 the engine reads")
                                  .arg(ShownFileName(operands[0]), name));
        return kExitUnreadable;
    }
    bool found = key.isEmpty();
    for (const SettingField &field : SettingFields()) {
        if (key.isEmpty())
            Print(field.Key() + u'=' + ValueInEffect(document, *record, own, field) + u'\n');
        else if (key.compare(field.Key(), Qt::CaseInsensitive) == 0 && !found) {
            Print(ValueInEffect(document, *record, own, field) + u'\n');
            found = true;
        }
    }
    if (!found)
        ModalUi().ShowMessage(QStringLiteral("mbscript get: \"%1\" is not a key the engine reads").arg(key));
    return found ? kExitOk : kExitUnreadable;
}
