#pragma once
// Cutting a script into lines: where the next line ends and what the parser
// needs to know of it, found in one pass: in the file's bytes with memchr
// when every byte decoded to one character (the usual ANSI script), else in
// the decoded text with a 16-bit loop. Line feeds survive every decoding (no
// code page uses byte 10 inside a character), so both cut the same lines.

#include <QString>
#include <QtGlobal>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace LineCutter {

// One line, as Cut finds it.
struct LineFacts
{
    qsizetype end;   // after the line's last character (a CR before the LF excluded)
    qsizetype next;  // where the next line starts; -1 after the last line
    qsizetype close; // the first ']' when the line starts with '[', else -1
    bool hasEquals;
    bool startsWithAt; // "@="
};

// The lines of a piece of the file's bytes, each byte one character.
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

// The lines of the decoded text.
class TextLines
{
public:
    // The lines of `text` up to `end` (its whole size when -1).
    explicit TextLines(const QString &text, qsizetype end = -1)
        : m_data(reinterpret_cast<const char16_t *>(text.constData()))
        , m_size(end < 0 ? text.size() : end)
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

} // namespace LineCutter
