// The reader from bytes: any bytes parse, every section is found by its name,
// and every stored line by its key; read from a file, piece by piece, the
// same bytes give the same text, sections and lines.

#include "FuzzSupport.h"

#include "script/ScriptFile.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CScriptFile file;
    file.m_bKeepAtLines = 1;
    const bool read = file.ReadBytes(FuzzBytes(data, size), QString());
    FuzzCheck(read == (size > 0), "bytes read unless empty");
    for (qsizetype i = 0; i < file.GetCount(); ++i) {
        const CSection *section = file.GetSection(i);
        const CSection *first = file.FindSection(section->m_strName);
        FuzzCheck(first && first->m_strName.compare(section->m_strName, Qt::CaseInsensitive) == 0,
                  "a section is found by its name");
        for (qsizetype line = 0; line < section->GetCount(); ++line) {
            const QStringView text = section->GetLine(line);
            const qsizetype equals = text.indexOf(u'=');
            FuzzCheck(equals >= 0, "a stored line holds '='");
            const qsizetype found = section->FindLine(text.left(equals));
            FuzzCheck(found >= 0 && found <= line, "a stored line is found by its key");
        }
    }
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i)
        FuzzCheck(!file.GetPreambleLine(i).isEmpty(), "preamble lines are not empty");

    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("script.mbs"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(FuzzBytes(data, size)) != qint64(size))
        return 0;
    out.close();
    CScriptFile fromFile;
    fromFile.m_bKeepAtLines = 1;
    FuzzCheck(fromFile.Read(path) == read, "a file reads as its bytes do");
    FuzzCheck(fromFile.Text() == file.Text() && fromFile.Encoding() == file.Encoding()
                  && fromFile.GetCount() == file.GetCount() && fromFile.GetPreambleCount() == file.GetPreambleCount(),
              "a file gives the text and sections its bytes give");
    for (qsizetype i = 0; i < file.GetCount(); ++i) {
        const CSection *a = file.GetSection(i);
        const CSection *b = fromFile.GetSection(i);
        bool same = a->m_strName == b->m_strName && a->m_strHeaderRest == b->m_strHeaderRest
                    && a->HeaderOffset() == b->HeaderOffset() && a->m_arrAtLines == b->m_arrAtLines
                    && a->GetCount() == b->GetCount() && a->GetLooseCount() == b->GetLooseCount();
        for (qsizetype line = 0; same && line < a->GetCount(); ++line)
            same = a->GetLine(line) == b->GetLine(line);
        for (qsizetype line = 0; same && line < a->GetLooseCount(); ++line)
            same = a->GetLooseLine(line).nBefore == b->GetLooseLine(line).nBefore
                   && a->GetLooseLine(line).text == b->GetLooseLine(line).text;
        FuzzCheck(same, "a file gives each section the lines its bytes give");
    }
    return 0;
}
