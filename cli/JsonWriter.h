#pragma once
// JSON text written as it is made, in UTF-8, through one buffer onto a C
// stream: strings escaped, every integer exact (64-bit unsigned ones
// included, which QJsonValue cannot hold).

#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <cstdio>
#include <string>

class CJsonWriter
{
public:
    // Writes to `stream`; nullptr keeps everything in Text() instead.
    explicit CJsonWriter(std::FILE *stream);
    ~CJsonWriter();
    CJsonWriter(const CJsonWriter &) = delete;
    CJsonWriter &operator=(const CJsonWriter &) = delete;

    // Text as it stands (ASCII punctuation, indentation).
    CJsonWriter &Raw(std::string_view text);
    // A string literal: quotes, backslashes, control characters and lone surrogates escaped.
    CJsonWriter &String(QStringView text);
    // ["a", "b"]
    CJsonWriter &StringArray(const QStringList &texts);
    CJsonWriter &Integer(qint64 value);
    CJsonWriter &Unsigned(quint64 value);

    // Hands the buffer to the stream; false when the stream reported an error.
    bool Flush();
    // What was written when there is no stream.
    const std::string &Text() const { return m_buffer; }

private:
    void Reserve(size_t bytes)
    {
        if (m_stream && m_buffer.size() + bytes > kFlushAt)
            Flush();
    }
    void AppendEscaped(QStringView text);

    static constexpr size_t kFlushAt = 64 * 1024;
    std::FILE *m_stream;
    std::string m_buffer;
    bool m_bFailed = false;
};
