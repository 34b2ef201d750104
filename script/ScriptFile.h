#pragma once
// A script read into memory: its sections in file order, each keeping its
// lines whole, and the lookups of a value by section name and key.

#include "script/ScriptEncoding.h"
#include "script/Section.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// How the last Read ended.
enum class ScriptReadStatus { NotRead, Read, Empty, Failed };

class CScriptFile
{
public:
    explicit CScriptFile(const QString &path = QString());
    virtual ~CScriptFile();
    CScriptFile(const CScriptFile &) = delete;
    CScriptFile &operator=(const CScriptFile &) = delete;

    // Deletes every section; the path and the flags stay.
    virtual void RemoveAllSections();

    // Reads and parses the whole file. TRUE when it was read; FALSE when it is
    // empty (no message) or cannot be read (one message naming the file and
    // the cause, through the modal UI). Either way the previous sections are
    // gone and m_strPath is `path`.
    bool Read(const QString &path);
    // The same for a script already in memory, as its file would hold it;
    // `path` names it in messages.
    bool ReadBytes(const QByteArray &bytes, const QString &path);
    // Parses `text` as if it had been read from `path` (the editor checks the
    // script it would save without writing it); FALSE when `text` is empty.
    bool ReadDecoded(const QString &path, const QString &text);

    // The first section of that name, ignoring case, or nullptr.
    CSection *FindSection(QStringView name) const;

    bool GetString(QStringView section, QStringView key, QString &value) const;
    bool GetInt(QStringView section, QStringView key, qint32 &value) const;
    bool GetInt(QStringView section, QStringView key, quint32 &value) const;
    bool GetInt64(QStringView section, QStringView key, qint64 &value) const;

    // The sections in file order.
    qsizetype GetCount() const { return qsizetype(m_sections.size()); }
    CSection *GetSection(qsizetype index) const { return m_sections[size_t(index)].get(); }
    const std::vector<std::unique_ptr<CSection>> &Sections() const { return m_sections; }

    // The non-empty lines before the first header, in file order.
    qsizetype GetPreambleCount() const { return qsizetype(m_preamble.size()); }
    QStringView GetPreambleLine(qsizetype index) const;

    // The decoded text of the last read: stored lines, preamble lines and
    // section names are views of it, so their offsets give their lines.
    QStringView Text() const { return m_strText; }
    // The same text, shared rather than copied, for whoever keeps it longer.
    const QString &SharedText() const { return m_strText; }

    ScriptEncoding Encoding() const { return m_nEncoding; }
    ScriptReadStatus LastReadStatus() const { return m_nReadStatus; }

    QString m_strPath;
    // When set, a read also collects each section's "@=" lines into its m_arrAtLines.
    int m_bKeepAtLines = 0;
    // 1 when the last file read was UTF-16LE.
    int m_bUnicode = 0;

private:
    // Fills the text and parses it as the file's pieces come.
    friend class CPieceReader;

    // Decodes and parses the whole script `bytes`, which start with `mark`.
    bool ReadText(const QByteArray &bytes, ScriptEncodingMark mark);
    void SetEncoding(ScriptEncoding encoding);
    // Parses the lines of text offsets `base` to `end`, held one byte a
    // character at `bytes`.
    void ParseBytes(const char *bytes, qsizetype base, qsizetype end);
    // Parses the lines of the text from `from` to `end` (-1: its end).
    void ParseText(qsizetype from, qsizetype end = -1);
    // Parses the lines from `from` to the end `lines` knows, carrying the
    // section being filled over to the next call.
    template <typename Lines>
    void ParseLines(const Lines &lines, qsizetype from);
    // The section being filled takes its lines.
    void EndSection();
    // Makes room in the line table for the lines of `textLength` characters.
    void ReserveLines(qsizetype textLength);
    // Every section takes the finished text and its lines; the read is done.
    void EndParse();
    CSection *AddSection(qsizetype offset, qsizetype length);
    // Forgets the last read and takes `path` as the file being read.
    void Begin(const QString &path);
    void Fail(const QString &cause);

    std::vector<std::unique_ptr<CSection>> m_sections;
    // A section name compared ignoring case; views the decoded text, which
    // outlives the index, or the name a lookup asks for.
    // A name and its hash, worked out once: the table grows by rehashing
    // every key, and most names that share a slot differ in their hash.
    struct NameKey
    {
        explicit NameKey(QStringView name);
        QStringView name;
        size_t hash;
        bool operator==(const NameKey &other) const;
    };
    friend size_t qHash(const NameKey &key, size_t seed);
    // Name -> the first section of that name.
    QHash<NameKey, CSection *> m_firstByName;
    // The decoded text of the last read; stored lines are spans of it.
    QString m_strText;
    // What the parse carries from line to line: the section being filled and
    // its lines so far, which move into it, sized exactly, when it ends.
    struct ParseState
    {
        CSection *current = nullptr;
        qsizetype firstStored = 0; // where its lines start in m_lineTable
        std::vector<std::pair<qsizetype, CSection::Span>> loose;
    };
    ParseState m_parse;
    // Every section's stored lines, section after section: one block rather
    // than one per section.
    std::vector<CSection::Span> m_lineTable;
    std::vector<std::pair<qint32, qint32>> m_preamble;
    ScriptEncoding m_nEncoding = ScriptEncoding::Ansi;
    ScriptReadStatus m_nReadStatus = ScriptReadStatus::NotRead;
};
