#include "script/ScriptFile.h"

#include "framework/CodePage.h"
#include "framework/FileBytes.h"
#include "framework/FileError.h"

#include <cstring>
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

bool CScriptFile::Read(const QString &path)
{
    QByteArray bytes;
    QString cause;
    bool got = false;
    try {
        got = ReadFileBytes(path, kLargestScript, bytes, cause);
    } catch (const std::bad_alloc &) {
        cause = QStringLiteral("There is not enough memory to read it.");
    }
    if (got)
        return ReadBytes(bytes, path);
    Begin(path);
    Fail(cause);
    return false;
}

bool CScriptFile::ReadBytes(const QByteArray &bytes, const QString &path)
{
    Begin(path);
    if (bytes.isEmpty()) {
        m_nReadStatus = ScriptReadStatus::Empty;
        return false;
    }
    try {
        return ReadText(bytes);
    } catch (const std::bad_alloc &) {
        Fail(QStringLiteral("There is not enough memory to read it."));
        return false;
    }
}

bool CScriptFile::ReadText(const QByteArray &bytes)
{
    const qsizetype mark = Decode(bytes);
    // Byte offsets equal text offsets when every byte became one character.
    Parse(m_nEncoding == ScriptEncoding::Utf16Le ? nullptr : bytes.constData() + mark, bytes.size() - mark);
    m_nReadStatus = ScriptReadStatus::Read;
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
    Parse(nullptr, 0);
    m_nReadStatus = ScriptReadStatus::Read;
    return true;
}

qsizetype CScriptFile::Decode(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    auto startsWith = [&](std::initializer_list<unsigned char> mark) {
        if (size < qsizetype(mark.size()))
            return false;
        qsizetype i = 0;
        for (unsigned char b : mark)
            if ((unsigned char)data[i++] != b)
                return false;
        return true;
    };
    if (startsWith({0xFF, 0xFE})) {
        // UTF-16LE: the byte-order mark is skipped and an odd last byte ignored.
        m_bUnicode = 1;
        m_nEncoding = ScriptEncoding::Utf16Le;
        MultiByteToString(data + 2, (size - 2) & ~qsizetype(1), m_strText, kUtf16);
        return 2;
    } else if (startsWith({0xEF, 0xBB, 0xBF})) {
        m_nEncoding = ScriptEncoding::Utf8;
        MultiByteToString(data + 3, size - 3, m_strText, kUtf8);
        return 3;
    }
    MultiByteToString(data, size, m_strText, kAnsiCodePage);
    return 0;
}

bool CScriptFile::NameKey::operator==(const NameKey &other) const
{
    if (name.size() != other.name.size())
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
    // Consistent with comparing ignoring case: characters are folded, and
    // every one that does not fold to ASCII counts alike.
    size_t hash = seed ^ size_t(key.name.size());
    for (const QChar c : key.name) {
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
    return hash;
}

CSection *CScriptFile::AddSection(qsizetype offset, qsizetype length)
{
    const QStringView name = QStringView(m_strText).mid(offset, length);
    auto section = std::make_unique<CSection>(name.toString());
    section->m_nHeaderOffset = offset - 1;
    section->m_strText = m_strText;  // shared, not copied
    CSection *added = section.get();
    m_sections.push_back(std::move(section));
    CSection *&first = m_firstByName[NameKey{name}];
    if (!first)
        first = added;
    return added;
}

namespace {

// Where the next line ends and what the parser needs to know of it, found
// in one pass: in the file's bytes with memchr when every byte decoded to
// one character (the usual ANSI script), else in the decoded text with a
// 16-bit loop. Line feeds survive every decoding (no code page uses byte 10
// inside a character), so both cut the same lines.
struct LineFacts
{
    qsizetype end;        // after the line's last character (a CR before the LF excluded)
    qsizetype next;       // where the next line starts; -1 after the last line
    qsizetype close;      // the first ']' when the line starts with '[', else -1
    bool hasEquals;
    bool startsWithAt;    // "@="
};

class ByteLines
{
public:
    ByteLines(const char *data, qsizetype size) : m_data(data), m_size(size) {}
    qsizetype Size() const { return m_size; }
    char16_t First(qsizetype pos) const { return char16_t((unsigned char)m_data[pos]); }

    LineFacts Cut(qsizetype pos) const
    {
        const char *begin = m_data + pos;
        const char *lineFeed = static_cast<const char *>(std::memchr(begin, '\n', size_t(m_size - pos)));
        LineFacts facts{};
        facts.end = lineFeed ? lineFeed - m_data : m_size;
        facts.next = lineFeed ? facts.end + 1 : -1;
        if (lineFeed && facts.end > pos && m_data[facts.end - 1] == '\r')
            --facts.end;
        const size_t length = size_t(facts.end - pos);
        facts.close = -1;
        if (length > 0 && *begin == '[') {
            const char *close = static_cast<const char *>(std::memchr(begin, ']', length));
            facts.close = close ? close - m_data : -1;
        }
        facts.hasEquals = length > 0 && std::memchr(begin, '=', length) != nullptr;
        facts.startsWithAt = length >= 2 && begin[0] == '@' && begin[1] == '=';
        return facts;
    }

private:
    const char *m_data;
    qsizetype m_size;
};

class TextLines
{
public:
    explicit TextLines(const QString &text)
        : m_data(reinterpret_cast<const char16_t *>(text.constData())), m_size(text.size())
    {
    }
    qsizetype Size() const { return m_size; }
    char16_t First(qsizetype pos) const { return m_data[pos]; }

    LineFacts Cut(qsizetype pos) const
    {
        LineFacts facts{};
        facts.close = -1;
        const bool header = m_data[pos] == u'[';
        qsizetype i = pos;
        for (; i < m_size; ++i) {
            const char16_t c = m_data[i];
            if (c == u'\n')
                break;
            if (c == u'=')
                facts.hasEquals = true;
            else if (c == u']' && header && facts.close < 0)
                facts.close = i;
        }
        facts.end = i;
        facts.next = i < m_size ? i + 1 : -1;
        if (facts.next >= 0 && facts.end > pos && m_data[facts.end - 1] == u'\r')
            --facts.end;
        if (facts.close >= facts.end)
            facts.close = -1;
        facts.startsWithAt = facts.end - pos >= 2 && m_data[pos] == u'@' && m_data[pos + 1] == u'=';
        return facts;
    }

private:
    const char16_t *m_data;
    qsizetype m_size;
};

} // namespace

template <typename Lines>
void CScriptFile::ParseLines(const Lines &lines)
{
    const QStringView text(m_strText);
    CSection *current = nullptr;
    const bool keepAtLines = m_bKeepAtLines != 0;
    // A section's spans gather here and move into it, sized exactly, when it ends.
    std::vector<CSection::Span> stored;
    std::vector<std::pair<qsizetype, CSection::Span>> loose;
    auto finish = [&] {
        if (!current)
            return;
        current->m_lines.assign(stored.begin(), stored.end());
        current->m_looseLines.assign(loose.begin(), loose.end());
        stored.clear();
        loose.clear();
    };
    for (qsizetype pos = 0; pos >= 0 && pos < lines.Size();) {
        const LineFacts facts = lines.Cut(pos);
        if (facts.end > pos) {
            const CSection::Span span{qint32(pos), qint32(facts.end - pos)};
            if (facts.close >= 0) {
                finish();
                current = AddSection(pos + 1, facts.close - pos - 1);
                if (facts.close + 1 < facts.end)
                    current->m_strHeaderRest = text.mid(facts.close + 1, facts.end - facts.close - 1).toString();
            } else if (!current) {
                m_preamble.emplace_back(span.offset, span.length);
            } else if (facts.hasEquals && lines.First(pos) != u'[') {
                stored.push_back(span);
                if (keepAtLines && facts.startsWithAt)
                    current->m_arrAtLines.append(text.mid(pos, facts.end - pos).toString());
            } else {
                // No '=', or a header without ']': kept where lookups cannot see it.
                loose.emplace_back(qsizetype(stored.size()), span);
            }
        }
        pos = facts.next;
    }
    finish();
}

void CScriptFile::Parse(const char *bytes, qsizetype byteCount)
{
    if (bytes && byteCount == m_strText.size())
        ParseLines(ByteLines(bytes, byteCount));
    else
        ParseLines(TextLines(m_strText));
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
