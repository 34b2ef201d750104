#include "cli/JsonWriter.h"

#include <charconv>

CJsonWriter::CJsonWriter(std::FILE *stream) : m_stream(stream)
{
    if (m_stream)
        m_buffer.reserve(kFlushAt + 1024);
}

CJsonWriter::~CJsonWriter()
{
    Flush();
}

bool CJsonWriter::Flush()
{
    if (!m_stream)
        return true;
    if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream) != m_buffer.size())
        m_bFailed = true;
    m_buffer.clear();
    if (std::fflush(m_stream) != 0 || std::ferror(m_stream))
        m_bFailed = true;
    return !m_bFailed;
}

CJsonWriter &CJsonWriter::Raw(std::string_view text)
{
    Reserve(text.size());
    m_buffer.append(text);
    return *this;
}

CJsonWriter &CJsonWriter::String(QStringView text)
{
    // At most six bytes of output per UTF-16 unit (\u001f), plus the quotes.
    Reserve(size_t(text.size()) * 6 + 2);
    m_buffer += '"';
    AppendEscaped(text);
    m_buffer += '"';
    return *this;
}

void CJsonWriter::AppendEscaped(QStringView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    while (c < end) {
        const char16_t u = *c++;
        if (u >= 0x20 && u < 0x7F) {
            if (u == u'"' || u == u'\\')
                m_buffer += '\\';
            m_buffer += char(u);
        } else if (u < 0x80) {
            m_buffer += '\\';
            switch (u) {
            case u'\b':
                m_buffer += 'b';
                break;
            case u'\f':
                m_buffer += 'f';
                break;
            case u'\n':
                m_buffer += 'n';
                break;
            case u'\r':
                m_buffer += 'r';
                break;
            case u'\t':
                m_buffer += 't';
                break;
            default:
                m_buffer += "u00";
                m_buffer += kHex[u >> 4];
                m_buffer += kHex[u & 0xF];
            }
        } else if (u < 0x800) {
            m_buffer += char(0xC0 | (u >> 6));
            m_buffer += char(0x80 | (u & 0x3F));
        } else if (!QChar::isSurrogate(u)) {
            m_buffer += char(0xE0 | (u >> 12));
            m_buffer += char(0x80 | ((u >> 6) & 0x3F));
            m_buffer += char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && c < end && QChar::isLowSurrogate(*c)) {
            const char32_t code = QChar::surrogateToUcs4(u, *c++);
            m_buffer += char(0xF0 | (code >> 18));
            m_buffer += char(0x80 | ((code >> 12) & 0x3F));
            m_buffer += char(0x80 | ((code >> 6) & 0x3F));
            m_buffer += char(0x80 | (code & 0x3F));
        } else {
            // A lone surrogate (read from UTF-16, or standing for a byte that
            // was not UTF-8, LosslessUtf8.h) has no UTF-8 form; JSON's escape keeps it.
            m_buffer += "\\u";
            for (const int shift : {12, 8, 4, 0})
                m_buffer += kHex[(u >> shift) & 0xF];
        }
    }
}

CJsonWriter &CJsonWriter::StringArray(const QStringList &texts)
{
    Raw("[");
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            Raw(", ");
        String(texts.at(i));
    }
    return Raw("]");
}

CJsonWriter &CJsonWriter::Integer(qint64 value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return Raw(std::string_view(digits, size_t(result.ptr - digits)));
}

CJsonWriter &CJsonWriter::Unsigned(quint64 value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return Raw(std::string_view(digits, size_t(result.ptr - digits)));
}
