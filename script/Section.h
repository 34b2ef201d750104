#pragma once
// One section of a script: its name and its lines exactly as read.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <vector>

class CSection
{
public:
    // A line of the section that holds no '=' (a comment, a stray word, a
    // header without ']'). Lookups never see it; the writer puts it back
    // before stored line `nBefore` (after the last one when nBefore equals
    // the number of stored lines).
    struct LooseLine
    {
        qsizetype nBefore;
        QStringView text;
    };

    explicit CSection(const QString &name);
    virtual ~CSection();
    CSection(const CSection &) = delete;
    CSection &operator=(const CSection &) = delete;

    // The stored lines, each a whole "Key=Value" line as read, in file order.
    qsizetype GetCount() const { return m_nLines; }
    QStringView GetLine(qsizetype index) const;

    // The lines without '=', in file order, each with its place among the stored lines.
    qsizetype GetLooseCount() const { return qsizetype(m_looseLines.size()); }
    LooseLine GetLooseLine(qsizetype index) const;

    // The index of the first stored line whose key is `key` (ignoring case),
    // or -1. A line matches when '=' directly follows the key.
    qsizetype FindLine(QStringView key) const;
    // The text after the first '=' of stored line `index`, untrimmed.
    QStringView ValueOfLine(qsizetype index) const;

    // Lookups by key. Each returns TRUE and writes the output when the key
    // exists; otherwise FALSE and the output is untouched. `lineIndex`, when
    // given, receives the index of the stored line taken (or -1).
    bool GetString(QStringView key, QString &value, qsizetype *lineIndex = nullptr) const;
    bool GetInt(QStringView key, qint32 &value, qsizetype *lineIndex = nullptr) const;
    bool GetInt(QStringView key, quint32 &value, qsizetype *lineIndex = nullptr) const;
    bool GetInt64(QStringView key, qint64 &value, qsizetype *lineIndex = nullptr) const;

    // Where the header's '[' stands in the file's text (CScriptFile::Text),
    // or -1 for a section not made by the reader.
    qsizetype HeaderOffset() const { return m_nHeaderOffset; }

    QString m_strName;
    // Whatever stood after the header's ']' (usually nothing).
    QString m_strHeaderRest;
    // Copies of the stored lines that begin with "@=", collected while the
    // file's m_bKeepAtLines is set.
    QStringList m_arrAtLines;

private:
    friend class CScriptFile;

    struct Span
    {
        qint32 offset;
        qint32 length;
    };
    QStringView View(Span span) const { return QStringView(m_strText).mid(span.offset, span.length); }

    // The text the spans point into: the whole decoded file, shared with the
    // file and the other sections.
    QString m_strText;
    qsizetype m_nHeaderOffset = -1;
    // The stored lines: this section's stretch of the file's line table (one
    // block for all sections), which lives as long as the file's sections.
    const Span *m_pLines = nullptr;
    qsizetype m_nLines = 0;
    std::vector<std::pair<qsizetype, Span>> m_looseLines;
};
