#include "script/PieceReader.h"

#include "framework/CodePage.h"
#include "framework/HugePages.h"
#include "script/ScriptFile.h"

#include <cstring>

CPieceReader::CPieceReader(CScriptFile &file) : m_file(file), m_text(file.m_strText), m_piece(new char[size_t(kPiece)])
{
}

char *CPieceReader::Room(qsizetype &room)
{
    if (m_mode == Mode::Wide) {
        if (m_textBytes == m_text.size() * 2)
            GrowText(qMax(2 * m_text.size(), kPiece / 2));
        room = qMin(m_text.size() * 2 - m_textBytes, kPiece);
        return reinterpret_cast<char *>(m_text.data()) + m_textBytes;
    }
    if (m_used == m_pieceSize) {
        // A line longer than the piece: the piece grows to hold it.
        std::unique_ptr<char[]> larger(new char[size_t(2 * m_pieceSize)]);
        std::memcpy(larger.get(), m_piece.get(), size_t(m_used));
        m_piece = std::move(larger);
        m_pieceSize *= 2;
    }
    room = m_pieceSize - m_used;
    return m_piece.get() + m_used;
}

void CPieceReader::Filled(qsizetype count)
{
    switch (m_mode) {
    case Mode::Wide:
        m_textBytes += count;
        TakeWide();
        return;
    case Mode::Whole:
        m_whole.append(m_piece.get(), count);
        return;
    case Mode::Narrow:
        m_used += count;
        TakeNarrow(m_used - count);
        return;
    case Mode::Undecided:
        m_used += count;
        if (m_used >= 3)
            Decide();
        return;
    }
}

bool CPieceReader::Finish()
{
    if (m_mode == Mode::Undecided) {
        if (m_used == 0)
            return false;
        Decide();
    }
    switch (m_mode) {
    case Mode::Whole:
        return m_file.ReadText(m_whole, m_mark);
    case Mode::Wide:
        // An odd last byte is ignored.
        m_text.truncate(m_textBytes / 2);
        m_file.ParseText(m_parsed);
        break;
    case Mode::Narrow:
    case Mode::Undecided:
        // The last line, when no line feed ends it.
        m_text.truncate(m_pieceStart + m_used);
        m_file.ParseBytes(m_piece.get(), m_pieceStart, m_pieceStart + m_used);
        break;
    }
    m_file.EndParse();
    return true;
}

void CPieceReader::Decide()
{
    const qsizetype expected = m_expected >= 0 ? qsizetype(m_expected) : m_used;
    m_mark = DetectScriptEncoding(m_piece.get(), m_used);
    if (m_mark.encoding == ScriptEncoding::Utf16Le) {
        m_mode = Mode::Wide;
        m_file.SetEncoding(ScriptEncoding::Utf16Le);
        GrowText(qMax(expected, m_used) / 2);
        m_file.ReserveLines(m_text.size());
        m_textBytes = m_used - m_mark.length;
        std::memcpy(m_text.data(), m_piece.get() + m_mark.length, size_t(m_textBytes));
        TakeWide();
    } else if (m_mark.encoding == ScriptEncoding::Utf8 || !AnsiIsSingleByte()) {
        m_mode = Mode::Whole;
        m_whole.reserve(qMax(expected, m_used));
        m_whole.append(m_piece.get(), m_used);
    } else {
        m_mode = Mode::Narrow;
        GrowText(qMax(expected, m_used));
        m_file.ReserveLines(m_text.size());
        TakeNarrow(0);
        return;
    }
    m_used = 0;
}

void CPieceReader::TakeNarrow(qsizetype from)
{
    const qsizetype count = m_used - from;
    const qsizetype at = m_pieceStart + from;
    if (at + count > m_text.size())
        GrowText(qMax(at + count, 2 * m_text.size()));
    DecodeSingleByteAnsi(m_piece.get() + from, count, reinterpret_cast<char16_t *>(m_text.data()) + at);
    const char *lastLineFeed = static_cast<const char *>(memrchr(m_piece.get() + from, '\n', size_t(count)));
    if (!lastLineFeed)
        return;
    const qsizetype complete = lastLineFeed - m_piece.get() + 1;
    m_file.ParseBytes(m_piece.get(), m_pieceStart, m_pieceStart + complete);
    std::memmove(m_piece.get(), m_piece.get() + complete, size_t(m_used - complete));
    m_pieceStart += complete;
    m_used -= complete;
}

void CPieceReader::TakeWide()
{
    const qsizetype read = m_textBytes / 2;
    const char16_t *chars = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype from = m_searched;
    qsizetype lineFeed = read - 1;
    while (lineFeed >= from && chars[lineFeed] != u'\n')
        --lineFeed;
    m_searched = read;
    if (lineFeed < from)
        return;
    m_file.ParseText(m_parsed, lineFeed + 1);
    m_parsed = lineFeed + 1;
}

void CPieceReader::GrowText(qsizetype characters)
{
    if (m_text.isEmpty()) {
        // The size the file gives, in whole huge pages (the string's header
        // and terminator within the heap's margin).
        m_text.reserve(qsizetype(HugePageRoom(2 * characters + 64) - 64) / 2);
        m_text.resize(characters);
    } else if (characters > m_text.size())
        m_text.resize(characters);
}
