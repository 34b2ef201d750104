#pragma once
// Takes a script as ReadFileInto hands it over. A script in a single-byte
// ANSI code page (the usual one) is decoded and parsed a piece at a time as
// it comes, so that its bytes are never held whole; a UTF-16LE script is read
// straight into the text; UTF-8 and multi-byte code pages are gathered whole
// and decoded at the end. The first bytes decide which.

#include "framework/FileBytes.h"
#include "script/ScriptEncoding.h"

#include <QByteArray>

#include <memory>

class CScriptFile;

class CPieceReader final : public IFileReadTarget
{
public:
    // Fills `file`, which has just begun its read.
    explicit CPieceReader(CScriptFile &file);

    void Expect(qint64 size) override { m_expected = size; }
    char *Room(qsizetype &room) override;
    void Filled(qsizetype count) override;

    // Parses what is left. FALSE when the file was empty.
    bool Finish();

private:
    enum class Mode { Undecided, Narrow, Wide, Whole };
    static constexpr qsizetype kPiece = 256 * 1024;

    // Chooses by the byte-order mark in the first bytes of the piece.
    void Decide();
    // Decodes the piece's bytes from `from` on into the text, then parses
    // every line the piece now holds to its line feed; an unfinished last
    // line stays in the piece for the next read.
    void TakeNarrow(qsizetype from);
    // Parses every line the text now holds to its line feed, while the last
    // read is still in the cache; only the characters new since the last call
    // are searched for the line feed.
    void TakeWide();
    // The text holds room for `characters`.
    void GrowText(qsizetype characters);

    CScriptFile &m_file;
    QString &m_text; // the file's
    qint64 m_expected = -1;
    Mode m_mode = Mode::Undecided;
    // Undecided and Narrow: an unfinished line, then the bytes of the last read.
    std::unique_ptr<char[]> m_piece;
    qsizetype m_pieceSize = kPiece;
    qsizetype m_used = 0;
    // Narrow: where the piece's first byte stands in the text.
    qsizetype m_pieceStart = 0;
    // Wide: how many bytes have been read into the text, the characters
    // searched for line feeds, and where the first line not yet parsed starts.
    qsizetype m_textBytes = 0;
    qsizetype m_searched = 0;
    qsizetype m_parsed = 0;
    // Whole: every byte so far, and the mark they start with.
    QByteArray m_whole;
    ScriptEncodingMark m_mark;
};
