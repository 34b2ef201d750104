#pragma once
// Puts script text on disk: in the encoding the script was read in (ANSI
// becoming UTF-16LE when the code page cannot hold a character), through
// CFileSaver, which never loses the old script. A failed save says so, naming
// the file, the cause and what became of the old file.

#include "script/ScriptFile.h"
#include "scripttree/ScriptTree.h"

class CScriptWriter;

#include <QByteArray>
#include <QString>

class CScriptSaver
{
public:
    explicit CScriptSaver(const WriteOptions &options = WriteOptions());

    // Saves bytes made by EncodeScript to `path`, telling the user (when the
    // options say so) that the script became Unicode. Returns false after a
    // failure, reported (when the options say so) with the file and the cause.
    bool Save(const QByteArray &bytes, bool becameUnicode, const QString &path);

    // The bytes of the text `writer` writes in `encoding`, encoded a piece at
    // a time so that the whole text is never held beside its bytes: a
    // byte-order mark or signature is followed by one empty line (unless the
    // text keeps the script's layout, which has its own first lines); ANSI text
    // the code page cannot hold comes out as UTF-16LE and sets `becameUnicode`.
    static QByteArray EncodeScript(CScriptWriter &writer, ScriptEncoding encoding, bool &becameUnicode);

private:
    WriteOptions m_options;
};
