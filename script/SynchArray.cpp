#include "script/SynchArray.h"

#include "script/ActionSink.h"
#include "script/SectionTreeBuilder.h"
#include "script/ZoneSnapshot.h"

#include <algorithm>
#include <limits>

CSynchArray::CSynchArray()
{
    m_actions.reserve(200);
}

CSynchArray::~CSynchArray()
{
    RemoveAllActions();
}

void CSynchArray::Add(std::unique_ptr<CSynchSettings> record, const QString &name)
{
    m_actions.push_back(std::move(record));
    m_arrActionNames.append(name);
}

void CSynchArray::RemoveAllActions()
{
    m_actions.clear();
}

bool ParseActionName(QStringView name, qint32 &number)
{
    constexpr QStringView prefix(u"Action");
    if (name.size() <= prefix.size() || !name.startsWith(prefix, Qt::CaseInsensitive))
        return false;
    const QStringView digits = name.mid(prefix.size());
    if (digits[0] < u'1' || digits[0] > u'9' || digits.size() > 10)
        return false;
    qint64 value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<qint32>::max())
        return false;
    number = qint32(value);
    return true;
}

std::vector<qint32> LoadableActionNumbers(const CScriptFile &file)
{
    std::vector<qint32> numbers;
    for (const auto &section : file.Sections()) {
        qint32 number = 0;
        if (ParseActionName(section->m_strName, number))
            numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

void CSynchArray::Clear()
{
    RemoveAllActions();
    m_arrDefaultAtLines.clear();
    m_arrActionNames.clear();
    m_Default = CSynchSettings();
    m_Default.m_arrAtLines.clear();
    m_ScriptFile.m_bKeepAtLines = 1;
}

int CSynchArray::LoadScript(const QString &path, ISectionTreeBuilder *builder, const LoadOptions &options)
{
    Clear();
    return m_ScriptFile.Read(path) ? LoadSections(builder, options) : 0;
}

int CSynchArray::LoadScriptFromBytes(const QByteArray &bytes, const QString &path, ISectionTreeBuilder *builder,
                                     const LoadOptions &options)
{
    Clear();
    return m_ScriptFile.ReadBytes(bytes, path) ? LoadSections(builder, options) : 0;
}

int CSynchArray::LoadScriptText(const QString &path, const QString &text, ISectionTreeBuilder *builder,
                                const LoadOptions &options)
{
    Clear();
    return m_ScriptFile.ReadDecoded(path, text) ? LoadSections(builder, options) : 0;
}

int CSynchArray::StreamScript(const QString &path, IActionSink &sink, const LoadOptions &options,
                              ISectionTreeBuilder *builder)
{
    Clear();
    return m_ScriptFile.Read(path) ? LoadSections(builder, options, &sink) : 0;
}

int CSynchArray::StreamAgain(IActionSink &sink, const LoadOptions &options, ISectionTreeBuilder *builder)
{
    Clear();
    return m_ScriptFile.LastReadStatus() == ScriptReadStatus::Read ? LoadSections(builder, options, &sink) : 0;
}

int CSynchArray::LoadSections(ISectionTreeBuilder *builder, const LoadOptions &options, IActionSink *sink)
{
    const CZoneSnapshot zone;
    const QString defaultName = QStringLiteral("Default");
    if (builder) {
        builder->ScriptRead(m_ScriptFile);
        builder->BeginRoot(defaultName);
    }
    const CSection *defaultSection = m_ScriptFile.FindSection(defaultName);
    m_Default.LoadSection(defaultName, m_ScriptFile, builder, options);
    if (defaultSection) {
        m_arrDefaultAtLines = defaultSection->m_arrAtLines;
        m_Default.m_arrAtLines = m_arrDefaultAtLines;
    }
    if (builder)
        builder->EndRoot(defaultSection, m_Default);
    if (sink)
        sink->DefaultLoaded(*this);

    const std::vector<qint32> numbers = LoadableActionNumbers(m_ScriptFile);
    if (!sink)
        m_actions.reserve(m_actions.size() + numbers.size());
    int handed = 0;
    for (const qint32 number : numbers) {
        const QString name = QStringLiteral("Action%1").arg(number);
        const CSection *section = m_ScriptFile.FindSection(name);
        if (!section)
            continue;
        if (builder)
            builder->BeginRoot(name);
        auto record = std::make_unique<CSynchSettings>();
        *record = m_Default;
        record->LoadSection(name, m_ScriptFile, builder, options);
        record->m_arrAtLines = section->m_arrAtLines;
        if (builder)
            builder->EndRoot(section, *record);
        if (sink) {
            sink->ActionLoaded(name, *record);
            ++handed;
        } else {
            Add(std::move(record), name);
        }
    }
    return sink ? handed : int(m_actions.size());
}
