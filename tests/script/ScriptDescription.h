#pragma once
// What a reader made of a script, as one line of text to compare.

#include "script/ScriptFile.h"

#include <QString>
#include <QStringList>

// One line per item: "pre:" preamble lines, "[name]" headers (with "+rest" when text followed
// the ']'), " line" stored lines, " ~text@n" loose lines (n: the stored lines before it) and
// " @line" kept "@=" lines. Control characters show as \r and \t.
inline QString Describe(const CScriptFile &file)
{
    QStringList out;
    for (qsizetype i = 0; i < file.GetPreambleCount(); ++i)
        out << QStringLiteral("pre:") + file.GetPreambleLine(i).toString();
    for (const auto &section : file.Sections()) {
        out << QLatin1Char('[') + section->m_strName + QLatin1Char(']')
                   + (section->m_strHeaderRest.isEmpty() ? QString() : QLatin1Char('+') + section->m_strHeaderRest);
        qsizetype loose = 0;
        for (qsizetype i = 0; i <= section->GetCount(); ++i) {
            for (; loose < section->GetLooseCount() && section->GetLooseLine(loose).nBefore == i; ++loose)
                out << QStringLiteral(" ~%1@%2").arg(section->GetLooseLine(loose).text).arg(i);
            if (i < section->GetCount())
                out << QLatin1Char(' ') + section->GetLine(i).toString();
        }
        for (const QString &at : section->m_arrAtLines)
            out << QStringLiteral(" @") + at;
    }
    return out.join(QLatin1Char('|')).replace(u'\r', QStringLiteral("\\r")).replace(u'\t', QStringLiteral("\\t"));
}
