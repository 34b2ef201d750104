#pragma once
// Puts script text on disk: in the encoding the script was read in (ANSI
// becoming UTF-16LE when the code page cannot hold a character), and
// atomically, through a temporary file renamed over the script only when
// every byte was written. A failed save leaves the old file as it was.

#include "script/ScriptFile.h"
#include "script/tree/ScriptTree.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

class CScriptSaver
{
public:
    // Makes the file a save writes through (tests hand in one that fails).
    using FileFactory = std::function<std::unique_ptr<QSaveFile>(const QString &path)>;

    explicit CScriptSaver(const WriteOptions &options = WriteOptions(), FileFactory factory = FileFactory());

    // Saves `text` to `path` in `encoding`. Returns false after a failure,
    // reported (when the options say so) with the file and the cause.
    bool Save(const QString &text, ScriptEncoding encoding, const QString &path);

    // The bytes of `text` in `encoding`: a byte-order mark or signature is
    // followed by one empty line. ANSI text the code page cannot hold comes
    // out as UTF-16LE and sets `becameUnicode`. Empty text gives no bytes.
    static QByteArray Encode(const QString &text, ScriptEncoding encoding, bool &becameUnicode);

    // Writes `bytes` to `path` atomically; false with `cause` on failure.
    bool WriteAtomically(const QString &path, const QByteArray &bytes, QString &cause) const;

private:
    WriteOptions m_options;
    FileFactory m_factory;
};
