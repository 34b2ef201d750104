#pragma once
// UTF-8 that keeps every byte. Valid UTF-8 decodes as usual; each byte of a
// sequence that is not valid UTF-8 (a Latin-1 letter in a file name, a stray
// byte in a script) decodes to the lone surrogate U+DC80 + (byte - 0x80),
// which no valid UTF-8 can give, and encodes back to that very byte. So
// bytes -> text -> bytes gives back every byte, whatever they were.

#include <QByteArray>
#include <QString>
#include <QStringView>

// The character that stands for the byte `byte` (0x80 to 0xFF) of an invalid sequence.
constexpr char16_t ByteEscape(unsigned char byte)
{
    return char16_t(0xDC00 + byte);
}

// Whether `unit` stands for a byte of an invalid sequence.
constexpr bool IsByteEscape(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

QString DecodeUtf8Lossless(const char *bytes, qsizetype length);
inline QString DecodeUtf8Lossless(const QByteArray &bytes)
{
    return DecodeUtf8Lossless(bytes.constData(), bytes.size());
}

// The bytes of `text`: byte escapes become their bytes, everything else UTF-8.
// A lone surrogate that is no byte escape has no bytes; it becomes U+FFFD and
// sets *lossy when given.
QByteArray EncodeUtf8Lossless(QStringView text, bool *lossy = nullptr);
