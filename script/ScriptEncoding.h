#pragma once
// The text encodings a script is read in, told apart by the script's first
// bytes: a UTF-16LE byte-order mark (FF FE), a UTF-8 one (EF BB BF), or none
// for the ANSI code page. Every read of a script's bytes asks
// DetectScriptEncoding once.

#include <QString>
#include <QtGlobal>

// The text encoding a script was read in; the writer keeps it.
enum class ScriptEncoding { Ansi, Utf16Le, Utf8 };

struct ScriptEncodingMark
{
    ScriptEncoding encoding = ScriptEncoding::Ansi;
    qsizetype length = 0; // the mark's bytes, which are not text
};

// The encoding the script's first `size` bytes announce (three are enough).
ScriptEncodingMark DetectScriptEncoding(const char *bytes, qsizetype size);

// Decodes a whole script of `size` bytes, its mark `mark`, into `text`. An odd
// last byte of a UTF-16LE script is ignored.
void DecodeScript(const char *bytes, qsizetype size, ScriptEncodingMark mark, QString &text);
