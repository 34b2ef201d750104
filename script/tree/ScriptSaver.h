#pragma once
// Puts script text on disk: in the encoding the script was read in (ANSI
// becoming UTF-16LE when the code page cannot hold a character), through
// CFileSaver, which never loses the old script. A failed save says so, naming
// the file, the cause and what became of the old file.

#include "framework/FileSaver.h"
#include "script/ScriptFile.h"
#include "script/tree/ScriptTree.h"

class CScriptWriter;

#include <QByteArray>
#include <QString>

class CScriptSaver
{
public:
    // Makes the files a save writes through (tests hand in ones that fail).
    using FileFactory = CFileSaver::FileFactory;

    explicit CScriptSaver(const WriteOptions &options = WriteOptions(), FileFactory factory = FileFactory());

    // Saves `text` to `path` in `encoding`. Returns false after a failure,
    // reported (when the options say so) with the file and the cause.
    bool Save(const QString &text, ScriptEncoding encoding, const QString &path);
    // Saves bytes made by Encode or EncodeScript, telling the user (when the
    // options say so) that the script became Unicode.
    bool SaveBytes(const QByteArray &bytes, bool becameUnicode, const QString &path);

    // The bytes of `text` in `encoding`: a byte-order mark or signature is
    // followed by one empty line. ANSI text the code page cannot hold comes
    // out as UTF-16LE and sets `becameUnicode`. Empty text gives no bytes.
    static QByteArray Encode(const QString &text, ScriptEncoding encoding, bool &becameUnicode);
    // The same bytes for the text `writer` writes, encoded a piece at a time,
    // so that the whole text is never held beside its bytes.
    static QByteArray EncodeScript(CScriptWriter &writer, ScriptEncoding encoding, bool &becameUnicode);

private:
    WriteOptions m_options;
    FileFactory m_factory;
};
