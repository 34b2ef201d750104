#include "script/ScriptFile.h"

#include "framework/CodePage.h"
#include "framework/FileError.h"

#include <QFile>

#include <new>

namespace {

// Sizes are handled as signed 32-bit quantities, as the engine does.
constexpr qint64 kLargestScript = 0x7FFFFFFF;

QString FoldedName(QStringView name) { return name.toString().toCaseFolded(); }

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

void CScriptFile::Fail(const QString &cause)
{
    RemoveAllSections();
    m_nReadStatus = ScriptReadStatus::Failed;
    ReportFileError(QStringLiteral("read"), m_strPath, cause);
}

bool CScriptFile::Read(const QString &path)
{
    RemoveAllSections();
    m_strPath = path;
    m_bUnicode = 0;
    m_nEncoding = ScriptEncoding::Ansi;

    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            Fail(file.errorString());
            return false;
        }
        const qint64 size = file.size();
        if (size == 0) {
            m_nReadStatus = ScriptReadStatus::Empty;
            return false;
        }
        if (size > kLargestScript) {
            Fail(QStringLiteral("The file is %1 bytes long; scripts of 2 GiB or more cannot be read.").arg(size));
            return false;
        }
        QByteArray bytes(size, Qt::Uninitialized);
        const qint64 got = file.read(bytes.data(), size);
        if (got != size) {
            Fail(got < 0 ? file.errorString()
                         : QStringLiteral("Only %1 of its %2 bytes could be read.").arg(got).arg(size));
            return false;
        }
        file.close();
        Decode(bytes);
        bytes = QByteArray();
        Parse();
    } catch (const std::bad_alloc &) {
        Fail(QStringLiteral("There is not enough memory to read it."));
        return false;
    }
    m_nReadStatus = ScriptReadStatus::Read;
    return true;
}

void CScriptFile::Decode(const QByteArray &bytes)
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
        MultiByteToString(data + 2, int((size - 2) & ~qsizetype(1)), m_strText, kUtf16);
    } else if (startsWith({0xEF, 0xBB, 0xBF})) {
        m_nEncoding = ScriptEncoding::Utf8;
        MultiByteToString(data + 3, int(size - 3), m_strText, kUtf8);
    } else {
        MultiByteToString(data, int(size), m_strText, kAnsiCodePage);
    }
}

CSection *CScriptFile::AddSection(QString name)
{
    auto section = std::make_unique<CSection>(name);
    section->m_strText = m_strText;  // shared, not copied
    CSection *added = section.get();
    m_sections.push_back(std::move(section));
    QString folded = std::move(name).toCaseFolded();
    if (!m_firstByName.contains(folded))
        m_firstByName.insert(std::move(folded), added);
    return added;
}

void CScriptFile::Parse()
{
    // Lines are cut out of the decoded text in place: a line feed ends a
    // line, a carriage return right before it is dropped, any other carriage
    // return stays. Line feeds survive every decoding (no code page uses byte
    // 10 inside a character), so cutting after decoding is exact.
    const QStringView text(m_strText);
    const qsizetype n = text.size();
    CSection *current = nullptr;
    const bool keepAtLines = m_bKeepAtLines != 0;
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype lineFeed = text.indexOf(u'\n', pos);
        qsizetype end = lineFeed < 0 ? n : lineFeed;
        if (lineFeed >= 0 && end > pos && text[end - 1] == u'\r')
            --end;
        if (end > pos) {
            const QStringView line = text.mid(pos, end - pos);
            const CSection::Span span{qint32(pos), qint32(end - pos)};
            qsizetype close = -1;
            if (line[0] == u'[' && (close = line.indexOf(u']')) >= 0) {
                current = AddSection(line.mid(1, close - 1).toString());
                if (close + 1 < line.size())
                    current->m_strHeaderRest = line.mid(close + 1).toString();
            } else if (!current) {
                m_preamble.emplace_back(span.offset, span.length);
            } else if (line[0] != u'[' && line.contains(u'=')) {
                current->m_lines.push_back(span);
                if (keepAtLines && line.startsWith(u"@="))
                    current->m_arrAtLines.append(line.toString());
            } else {
                // No '=', or a header without ']': kept where lookups cannot see it.
                current->m_looseLines.emplace_back(current->GetCount(), span);
            }
        }
        if (lineFeed < 0)
            break;
        pos = lineFeed + 1;
    }
}

QStringView CScriptFile::GetPreambleLine(qsizetype index) const
{
    const auto &span = m_preamble[size_t(index)];
    return QStringView(m_strText).mid(span.first, span.second);
}

CSection *CScriptFile::FindSection(QStringView name) const
{
    return m_firstByName.value(FoldedName(name), nullptr);
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
