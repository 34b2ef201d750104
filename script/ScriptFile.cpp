#include "script/ScriptFile.h"

#include "framework/CodePage.h"
#include "framework/FileBytes.h"
#include "framework/FileError.h"
#include "framework/HugePages.h"

#include <cstring>
#include <memory>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
        return ReadText(bytes);
    } catch (const std::bad_alloc &) {
        Fail(QStringLiteral("There is not enough memory to read it."));
        return false;
    }
}

bool CScriptFile::ReadText(const QByteArray &bytes)
{
    const qsizetype mark = Decode(bytes);
    ReserveLines(m_strText.size());
    // Byte offsets equal text offsets when every byte became one character.
    Parse(m_nEncoding == ScriptEncoding::Utf16Le ? nullptr : bytes.constData() + mark, bytes.size() - mark);
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
    Parse(nullptr, 0);
    EndParse();
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

size_t qHash(const CScriptFile::NameKey &key, size_t seed) { return key.hash ^ seed; }

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
    // `data` holds the bytes from text offset `base` up to `end`.
    ByteLines(const char *data, qsizetype base, qsizetype end) : m_data(data), m_base(base), m_end(end) {}
    qsizetype Size() const { return m_end; }
    char16_t First(qsizetype pos) const { return char16_t((unsigned char)*At(pos)); }

    LineFacts Cut(qsizetype pos) const
    {
        const char *begin = At(pos);
        const size_t rest = size_t(m_end - pos);
        const char *lineFeed = static_cast<const char *>(std::memchr(begin, '\n', rest));
        LineFacts facts{};
        facts.end = lineFeed ? pos + (lineFeed - begin) : m_end;
        facts.next = lineFeed ? facts.end + 1 : -1;
        if (lineFeed && facts.end > pos && lineFeed[-1] == '\r')
            --facts.end;
        const size_t length = size_t(facts.end - pos);
        facts.close = -1;
        if (length > 0 && *begin == '[') {
            const char *close = static_cast<const char *>(std::memchr(begin, ']', length));
            facts.close = close ? pos + (close - begin) : -1;
        }
        facts.hasEquals = length > 0 && std::memchr(begin, '=', length) != nullptr;
        facts.startsWithAt = length >= 2 && begin[0] == '@' && begin[1] == '=';
        return facts;
    }

private:
    const char *At(qsizetype pos) const { return m_data + (pos - m_base); }

    const char *m_data;
    qsizetype m_base;
    qsizetype m_end;
};

class TextLines
{
public:
    // The lines of `text` up to `end` (its whole size when -1).
    explicit TextLines(const QString &text, qsizetype end = -1)
        : m_data(reinterpret_cast<const char16_t *>(text.constData())), m_size(end < 0 ? text.size() : end)
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
#ifdef __SSE2__
        // Eight characters at a time up to the line feed; the rest one by one.
        const __m128i lineFeed = _mm_set1_epi16(u'\n');
        const __m128i equals = _mm_set1_epi16(u'=');
        const __m128i bracket = _mm_set1_epi16(u']');
        for (; i + 8 <= m_size; i += 8) {
            const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_data + i));
            const unsigned feeds = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, lineFeed)));
            // Only what stands before the first line feed counts.
            const unsigned before = feeds ? (feeds & (0u - feeds)) - 1 : 0xFFFFu;
            facts.hasEquals |= (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, equals))) & before) != 0;
            if (header && facts.close < 0) {
                const unsigned closes = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, bracket))) & before;
                if (closes)
                    facts.close = i + __builtin_ctz(closes) / 2;
            }
            if (feeds) {
                i += __builtin_ctz(feeds) / 2;
                break;
            }
        }
#endif
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
void CScriptFile::ParseLines(const Lines &lines, qsizetype from)
{
    const QStringView text(m_strText);
    const bool keepAtLines = m_bKeepAtLines != 0;
    for (qsizetype pos = from; pos >= 0 && pos < lines.Size();) {
        const LineFacts facts = lines.Cut(pos);
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
        section->m_strText = m_strText;  // shared, not copied
        section->m_pLines = lines;
        lines += section->m_nLines;
    }
    m_nReadStatus = ScriptReadStatus::Read;
}

void CScriptFile::Parse(const char *bytes, qsizetype byteCount)
{
    if (bytes && byteCount == m_strText.size())
        ParseLines(ByteLines(bytes, 0, byteCount), 0);
    else
        ParseLines(TextLines(m_strText), 0);
}

// Takes a script as ReadFileInto hands it over. A script in a single-byte
// ANSI code page (the usual one) is decoded and parsed a piece at a time as
// it comes, so that its bytes are never held whole; a UTF-16LE script is read
// straight into the text; UTF-8 and multi-byte code pages are gathered whole
// and decoded at the end.
class CScriptFile::PieceReader final : public IFileReadTarget
{
public:
    explicit PieceReader(CScriptFile &file) : m_file(file), m_piece(new char[size_t(kPiece)]) {}

    void Expect(qint64 size) override { m_expected = size; }

    char *Room(qsizetype &room) override
    {
        if (m_mode == Mode::Wide) {
            if (m_textBytes == m_file.m_strText.size() * 2)
                GrowText(qMax(2 * m_file.m_strText.size(), kPiece / 2));
            room = qMin(m_file.m_strText.size() * 2 - m_textBytes, kPiece);
            return reinterpret_cast<char *>(m_file.m_strText.data()) + m_textBytes;
        }
        if (m_used == m_pieceSize) {
            // A line longer than the piece: the piece grows to hold it.
            std::unique_ptr<char[]> larger(new char[size_t(2 * m_pieceSize)]);
            std::memcpy(larger.get(), m_piece.get(), size_t(m_used));
            m_piece = std::move(larger);
            m_pieceSize *= 2;
        }
        room = m_pieceSize - m_used;
        return m_piece.get() + m_used;
    }

    void Filled(qsizetype count) override
    {
        switch (m_mode) {
        case Mode::Wide:
            m_textBytes += count;
            TakeWide();
            return;
        case Mode::Whole:
            m_whole.append(m_piece.get(), count);
            return;
        case Mode::Narrow:
            m_used += count;
            TakeNarrow(m_used - count);
            return;
        case Mode::Undecided:
            m_used += count;
            if (m_used >= 3)
                Decide();
            return;
        }
    }

    // Parses what is left. FALSE when the file was empty.
    bool Finish()
    {
        if (m_mode == Mode::Undecided) {
            if (m_used == 0) {
                m_file.m_nReadStatus = ScriptReadStatus::Empty;
                return false;
            }
            Decide();
        }
        QString &text = m_file.m_strText;
        switch (m_mode) {
        case Mode::Whole:
            return m_file.ReadText(m_whole);
        case Mode::Wide:
            // An odd last byte is ignored.
            text.truncate(m_textBytes / 2);
            m_file.ParseLines(TextLines(text), m_parsed);
            break;
        case Mode::Narrow:
        case Mode::Undecided:
            // The last line, when no line feed ends it.
            text.truncate(m_pieceStart + m_used);
            m_file.ParseLines(ByteLines(m_piece.get(), m_pieceStart, m_pieceStart + m_used), m_pieceStart);
            break;
        }
        m_file.EndParse();
        return true;
    }

private:
    enum class Mode { Undecided, Narrow, Wide, Whole };
    static constexpr qsizetype kPiece = 256 * 1024;

    // Chooses by the byte-order mark in the first bytes of the piece.
    void Decide()
    {
        const auto *first = reinterpret_cast<const unsigned char *>(m_piece.get());
        const qsizetype expected = m_expected >= 0 ? qsizetype(m_expected) : m_used;
        if (m_used >= 2 && first[0] == 0xFF && first[1] == 0xFE) {
            m_mode = Mode::Wide;
            m_file.m_bUnicode = 1;
            m_file.m_nEncoding = ScriptEncoding::Utf16Le;
            GrowText(qMax(expected, m_used) / 2);
            m_file.ReserveLines(m_file.m_strText.size());
            m_textBytes = m_used - 2;
            std::memcpy(m_file.m_strText.data(), m_piece.get() + 2, size_t(m_textBytes));
            TakeWide();
        } else if ((m_used >= 3 && first[0] == 0xEF && first[1] == 0xBB && first[2] == 0xBF) || !AnsiIsSingleByte()) {
            m_mode = Mode::Whole;
            m_whole.reserve(qMax(expected, m_used));
            m_whole.append(m_piece.get(), m_used);
        } else {
            m_mode = Mode::Narrow;
            GrowText(qMax(expected, m_used));
            m_file.ReserveLines(m_file.m_strText.size());
            TakeNarrow(0);
            return;
        }
        m_used = 0;
    }

    // Decodes the piece's bytes from `from` on into the text, then parses
    // every line the piece now holds to its line feed; an unfinished last
    // line stays in the piece for the next read.
    void TakeNarrow(qsizetype from)
    {
        const qsizetype count = m_used - from;
        const qsizetype at = m_pieceStart + from;
        if (at + count > m_file.m_strText.size())
            GrowText(qMax(at + count, 2 * m_file.m_strText.size()));
        DecodeSingleByteAnsi(m_piece.get() + from, count, reinterpret_cast<char16_t *>(m_file.m_strText.data()) + at);
        const char *lastLineFeed = static_cast<const char *>(memrchr(m_piece.get() + from, '\n', size_t(count)));
        if (!lastLineFeed)
            return;
        const qsizetype complete = lastLineFeed - m_piece.get() + 1;
        m_file.ParseLines(ByteLines(m_piece.get(), m_pieceStart, m_pieceStart + complete), m_pieceStart);
        std::memmove(m_piece.get(), m_piece.get() + complete, size_t(m_used - complete));
        m_pieceStart += complete;
        m_used -= complete;
    }

    // Parses every line the text now holds to its line feed, while the last
    // read is still in the cache; only the characters new since the last call
    // are searched for the line feed.
    void TakeWide()
    {
        const QString &text = m_file.m_strText;
        const qsizetype read = m_textBytes / 2;
        const char16_t *chars = reinterpret_cast<const char16_t *>(text.constData());
        const qsizetype from = m_searched;
        qsizetype lineFeed = read - 1;
        while (lineFeed >= from && chars[lineFeed] != u'\n')
            --lineFeed;
        m_searched = read;
        if (lineFeed < from)
            return;
        m_file.ParseLines(TextLines(text, lineFeed + 1), m_parsed);
        m_parsed = lineFeed + 1;
    }

    // The text holds room for `characters`.
    void GrowText(qsizetype characters)
    {
        QString &text = m_file.m_strText;
        if (text.isEmpty()) {
            // The size the file gives, in whole huge pages (the string's header
            // and terminator within the heap's margin).
            text.reserve(qsizetype(HugePageRoom(2 * characters + 64) - 64) / 2);
            text.resize(characters);
        } else if (characters > text.size())
            text.resize(characters);
    }

    CScriptFile &m_file;
    qint64 m_expected = -1;
    Mode m_mode = Mode::Undecided;
    // Undecided and Narrow: an unfinished line, then the bytes of the last read.
    std::unique_ptr<char[]> m_piece;
    qsizetype m_pieceSize = kPiece;
    qsizetype m_used = 0;
    // Narrow: where the piece's first byte stands in the text.
    qsizetype m_pieceStart = 0;
    // Wide: how many bytes have been read into the text, the characters
    // searched for line feeds, and where the first line not yet parsed starts.
    qsizetype m_textBytes = 0;
    qsizetype m_searched = 0;
    qsizetype m_parsed = 0;
    // Whole: every byte so far.
    QByteArray m_whole;
};

bool CScriptFile::Read(const QString &path)
{
    Begin(path);
    QString cause;
    try {
        PieceReader reader(*this);
        if (ReadFileInto(path, kLargestScript, reader, cause))
            return reader.Finish();
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
