// The reader from bytes: any bytes parse, every section is found by its name,
// and every stored line by its key; read from a file, piece by piece, the
// same bytes give the same text, sections and lines.

#include "FuzzSupport.h"

#include "../script/ScriptDescription.h"
#include "TestFiles.h"

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

    static TemporaryFolder files;
    const QString path = files.Write(FuzzBytes(data, size), QStringLiteral("script.mbs"));
    if (path.isEmpty())
        return 0;
    CScriptFile fromFile;
    fromFile.m_bKeepAtLines = 1;
    FuzzCheck(fromFile.Read(path) == read, "a file reads as its bytes do");
    FuzzCheck(fromFile.Text() == file.Text() && fromFile.Encoding() == file.Encoding()
                  && fromFile.GetCount() == file.GetCount() && Describe(fromFile) == Describe(file),
              "a file gives the text, sections and lines its bytes give");
    for (qsizetype i = 0; i < file.GetCount(); ++i)
        FuzzCheck(fromFile.GetSection(i)->HeaderOffset() == file.GetSection(i)->HeaderOffset(),
                  "a file gives each header the offset its bytes give");
    return 0;
}
