#include "script/ScriptFile.h"

#include "framework/FileBytes.h"
#include "framework/FileError.h"
#include "framework/HugePages.h"
#include "script/LineCutter.h"
#include "script/PieceReader.h"

#include <memory>
#include <new>

namespace {

// Sizes are handled as signed 32-bit quantities, as the engine does.
constexpr qint64 kLargestScript = 0x7FFFFFFF;

} // namespace

CScriptFile::CScriptFile(const QString &path)
{
    if (!path.isEmpty())
        Read(path);
}

CScriptFile::~CScriptFile() = default;

void CScriptFile::RemoveAllSections()
{
    m_sections.clear();
    m_firstByName.clear();
    m_preamble.clear();
    m_strText.clear();
    m_parse = ParseState();
    std::vector<CSection::Span>().swap(m_lineTable);
}

void CScriptFile::Begin(const QString &path)
{
    RemoveAllSections();
    m_strPath = path;
    m_bUnicode = 0;
    m_nEncoding = ScriptEncoding::Ansi;
}

void CScriptFile::Fail(const QString &cause)
{
    RemoveAllSections();
    m_nReadStatus = ScriptReadStatus::Failed;
    ReportFileError(QStringLiteral("read"), m_strPath, cause);
}

bool CScriptFile::ReadBytes(const QByteArray &bytes, const QString &path)
{
    Begin(path);
    if (bytes.isEmpty()) {
        m_nReadStatus = ScriptReadStatus::Empty;
        return false;
    }
    try {
        return ReadText(bytes, DetectScriptEncoding(bytes.constData(), bytes.size()));
    } catch (const std::bad_alloc &) {
        Fail(QStringLiteral("There is not enough memory to read it."));
        return false;
    }
}

bool CScriptFile::ReadText(const QByteArray &bytes, ScriptEncodingMark mark)
{
    SetEncoding(mark.encoding);
    DecodeScript(bytes.constData(), bytes.size(), mark, m_strText);
    ReserveLines(m_strText.size());
    // Byte offsets equal text offsets when every byte became one character.
    const qsizetype byteCount = bytes.size() - mark.length;
    if (mark.encoding != ScriptEncoding::Utf16Le && byteCount == m_strText.size())
        ParseBytes(bytes.constData() + mark.length, 0, byteCount);
    else
        ParseText(0);
    EndParse();
    return true;
}

bool CScriptFile::ReadDecoded(const QString &path, const QString &text)
{
    Begin(path);
    if (text.isEmpty()) {
        m_nReadStatus = ScriptReadStatus::Empty;
        return false;
    }
    m_strText = text;
    ReserveLines(m_strText.size());
    ParseText(0);
    EndParse();
    return true;
}

void CScriptFile::SetEncoding(ScriptEncoding encoding)
{
    m_nEncoding = encoding;
    m_bUnicode = encoding == ScriptEncoding::Utf16Le ? 1 : 0;
}

CScriptFile::NameKey::NameKey(QStringView name) : name(name)
{
    // Consistent with comparing ignoring case: characters are folded, and
    // every one that does not fold to ASCII counts alike.
    hash = size_t(name.size());
    for (const QChar c : name) {
        char16_t folded = c.unicode();
        if (folded >= 0x80)
            folded = c.toCaseFolded().unicode();
        else if (folded >= u'A' && folded <= u'Z')
            folded += 32;
        hash = hash * 31 + (folded < 0x80 ? folded : 0x80);
    }
    // Names that differ in their last digit (Action11, Action12) would hash to
    // neighbouring values and crowd the table's probes: mix the bits.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
}

bool CScriptFile::NameKey::operator==(const NameKey &other) const
{
    if (hash != other.hash || name.size() != other.name.size())
        return false;
    // ASCII letters are compared here; anything else the toolkit's case folding decides.
    const char16_t *a = name.utf16();
    const char16_t *b = other.name.utf16();
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (a[i] >= 0x80 || b[i] >= 0x80)
            return name.mid(i).compare(other.name.mid(i), Qt::CaseInsensitive) == 0;
        if ((a[i] | 0x20) != (b[i] | 0x20) || (a[i] | 0x20) < u'a' || (a[i] | 0x20) > u'z')
            return false;
    }
    return true;
}

size_t qHash(const CScriptFile::NameKey &key, size_t seed)
{
    return key.hash ^ seed;
}

CSection *CScriptFile::AddSection(qsizetype offset, qsizetype length)
{
    const QStringView name = QStringView(m_strText).mid(offset, length);
    auto section = std::make_unique<CSection>(name.toString());
    section->m_nHeaderOffset = offset - 1;
    CSection *added = section.get();
    m_sections.push_back(std::move(section));
    // The key views the section's own name: the text may still grow and move.
    CSection *&first = m_firstByName[NameKey{added->m_strName}];
    if (!first)
        first = added;
    return added;
}

template <typename Lines>
void CScriptFile::ParseLines(const Lines &lines, qsizetype from)
{
    const QStringView text(m_strText);
    const bool keepAtLines = m_bKeepAtLines != 0;
    for (qsizetype pos = from; pos >= 0 && pos < lines.Size();) {
        const LineCutter::LineFacts facts = lines.Cut(pos);
        if (facts.end > pos) {
            const CSection::Span span{qint32(pos), qint32(facts.end - pos)};
            CSection *current = m_parse.current;
            if (facts.close >= 0) {
                EndSection();
                current = m_parse.current = AddSection(pos + 1, facts.close - pos - 1);
                if (facts.close + 1 < facts.end)
                    current->m_strHeaderRest = text.mid(facts.close + 1, facts.end - facts.close - 1).toString();
            } else if (!current) {
                m_preamble.emplace_back(span.offset, span.length);
            } else if (facts.hasEquals && lines.First(pos) != u'[') {
                m_lineTable.push_back(span);
                if (keepAtLines && facts.startsWithAt)
                    current->m_arrAtLines.append(text.mid(pos, facts.end - pos).toString());
            } else {
                // No '=', or a header without ']': kept where lookups cannot see it.
                m_parse.loose.emplace_back(qsizetype(m_lineTable.size()) - m_parse.firstStored, span);
            }
        }
        pos = facts.next;
    }
}

void CScriptFile::EndSection()
{
    if (CSection *current = m_parse.current) {
        current->m_nLines = qsizetype(m_lineTable.size()) - m_parse.firstStored;
        current->m_looseLines.assign(m_parse.loose.begin(), m_parse.loose.end());
    }
    m_parse.firstStored = qsizetype(m_lineTable.size());
    m_parse.loose.clear();
}

void CScriptFile::ReserveLines(qsizetype textLength)
{
    // Lines of a script hold some thirty characters or more; the room not
    // used is never touched.
    const long long bytes = HugePageRoom((textLength / 16 + 16) * qsizetype(sizeof(CSection::Span)));
    m_lineTable.reserve(size_t(bytes) / sizeof(CSection::Span));
}

void CScriptFile::EndParse()
{
    EndSection();
    m_parse = ParseState();
    const CSection::Span *lines = m_lineTable.data();
    for (const auto &section : m_sections) {
        section->m_strText = m_strText; // shared, not copied
        section->m_pLines = lines;
        lines += section->m_nLines;
    }
    m_nReadStatus = ScriptReadStatus::Read;
}

void CScriptFile::ParseBytes(const char *bytes, qsizetype base, qsizetype end)
{
    ParseLines(LineCutter::ByteLines(bytes, base, end), base);
}

void CScriptFile::ParseText(qsizetype from, qsizetype end)
{
    ParseLines(LineCutter::TextLines(m_strText, end), from);
}

bool CScriptFile::Read(const QString &path)
{
    Begin(path);
    QString cause;
    try {
        CPieceReader reader(*this);
        if (ReadFileInto(path, kLargestScript, reader, cause)) {
            if (reader.Finish())
                return true;
            m_nReadStatus = ScriptReadStatus::Empty;
            return false;
        }
    } catch (const std::bad_alloc &) {
        cause = QStringLiteral("There is not enough memory to read it.");
    }
    Fail(cause);
    return false;
}

QStringView CScriptFile::GetPreambleLine(qsizetype index) const
{
    const auto &span = m_preamble[size_t(index)];
    return QStringView(m_strText).mid(span.first, span.second);
}

CSection *CScriptFile::FindSection(QStringView name) const
{
    return m_firstByName.value(NameKey{name}, nullptr);
}

bool CScriptFile::GetString(QStringView section, QStringView key, QString &value) const
{
    const CSection *found = FindSection(section);
    return found && found->GetString(key, value);
}

bool CScriptFile::GetInt(QStringView section, QStringView key, qint32 &value) const
{
    const CSection *found = FindSection(section);
    return found && found->GetInt(key, value);
}

bool CScriptFile::GetInt(QStringView section, QStringView key, quint32 &value) const
{
    const CSection *found = FindSection(section);
    return found && found->GetInt(key, value);
}

bool CScriptFile::GetInt64(QStringView section, QStringView key, qint64 &value) const
{
    const CSection *found = FindSection(section);
    return found && found->GetInt64(key, value);
}
