#include "scripttree/ScriptEncoder.h"

#include "framework/CodePage.h"

CScriptEncoder::CScriptEncoder(ScriptEncoding encoding, bool lineAfterMark)
{
    switch (encoding) {
    case ScriptEncoding::Ansi:
        m_nMode = kAnsiCodePage;
        break;
    case ScriptEncoding::Utf8:
        m_nMode = kUtf8;
        m_bytes = lineAfterMark ? QByteArray("\xEF\xBB\xBF\r\n") : QByteArray("\xEF\xBB\xBF");
        break;
    case ScriptEncoding::Utf16Le:
        m_nMode = kUtf16;
        m_bytes = QByteArray("\xFF\xFE\r\0\n\0", lineAfterMark ? 6 : 2);
        break;
    }
}

bool CScriptEncoder::Append(QStringView piece)
{
    bool lossy = false;
    StringToMultiByte(piece.data(), piece.size(), m_piece, m_nMode, &lossy);
    if (lossy)
        return false;
    m_bytes.append(m_piece);
    return true;
}
