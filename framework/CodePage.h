#pragma once
// Conversion between script bytes and text.
//
// Mode 1 is the ANSI code page: Windows-1252, or the Windows code page whose
// number the environment variable MARROWPAD_CODEPAGE names (1250, 1251, 932 ...).
// In a single-byte code page every byte decodes to one character and back, the
// bytes Windows leaves undefined included (they map to U+0080..U+009F one to
// one), so a read followed by a write gives back every byte.
// Mode 2 is UTF-8, every byte of it kept: a byte that is not part of valid
// UTF-8 decodes to a character of its own and back (LosslessUtf8.h). Mode 3 is UTF-16LE taken as it stands.

#include <QByteArray>
#include <QString>

enum CodePageMode : int { kAnsiCodePage = 1, kUtf8 = 2, kUtf16 = 3 };

// Sets `out` to `length` bytes of `text` decoded in `mode`. Returns the number
// of characters produced; in mode 3, `length / 2`.
qsizetype MultiByteToString(const char *text, qsizetype length, QString &out, int mode);

// Whether every byte of the ANSI code page decodes to exactly one character.
bool AnsiIsSingleByte();

// Decodes `length` bytes of a single-byte ANSI code page into `out`, which has
// room for `length` characters (a script read piece by piece is decoded so).
void DecodeSingleByteAnsi(const char *text, qsizetype length, char16_t *out);

// Sets `out` to `length` characters of `text` encoded in `mode`; returns the
// number of bytes produced. A character the ANSI code page cannot represent is
// written as '?' and, when `lossy` is given, sets *lossy to true.
qsizetype StringToMultiByte(const QChar *text, qsizetype length, QByteArray &out, int mode, bool *lossy = nullptr);

// Whether the ANSI code page represents every character of `text`.
bool AnsiCanEncode(const QString &text);

// The Windows number of the ANSI code page in use (1252 unless configured).
int AnsiCodePageNumber();
