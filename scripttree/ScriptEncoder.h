#pragma once
// Turns script text into the bytes of its file a piece at a time, so that the
// whole text is never held beside its bytes: ANSI as it stands; UTF-8 and
// UTF-16LE after their signature or byte-order mark, and one empty line
// unless the text keeps a script's own first lines.

#include "script/ScriptFile.h"

#include <QByteArray>
#include <QStringView>

#include <utility>

class CScriptEncoder
{
public:
    explicit CScriptEncoder(ScriptEncoding encoding, bool lineAfterMark = true);

    // Appends the bytes of `piece`. False, appending nothing, when the
    // encoding is ANSI and the code page cannot hold one of its characters.
    bool Append(QStringView piece);
    // Room for `bytes` bytes in all; room never written is never touched.
    void Reserve(qsizetype bytes) { m_bytes.reserve(bytes); }
    QByteArray TakeBytes() { return std::move(m_bytes); }

private:
    int m_nMode;
    QByteArray m_bytes;
    QByteArray m_piece;
};
