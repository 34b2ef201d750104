#include "framework/LosslessUtf8.h"

#include <QUtf8StringView>

namespace {

// The length of the well-formed UTF-8 sequence at `s` (at most `left` bytes)
// and its code point, or 0 when the bytes there form none: a continuation
// byte, a lead byte cut short, an overlong form, a surrogate or a code point
// above U+10FFFF.
int SequenceAt(const unsigned char *s, qsizetype left, char32_t &code)
{
    const unsigned char lead = s[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong form
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;  // no overlong form
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (left < length || s[1] < low || s[1] > high)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (s[i] & 0x3F);
    }
    return length;
}

} // namespace

QString DecodeUtf8Lossless(const char *bytes, qsizetype length)
{
    if (length <= 0)
        return QString();
    // Nearly every text is valid, and the toolkit's decoder is the fastest there.
    if (QUtf8StringView(bytes, length).isValidUtf8())
        return QString::fromUtf8(bytes, length);
    QString text(length, Qt::Uninitialized); // never more units than bytes
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    char16_t *const start = out;
    const auto *s = reinterpret_cast<const unsigned char *>(bytes);
    const unsigned char *const end = s + length;
    while (s < end) {
        if (*s < 0x80) {
            *out++ = *s++;
            continue;
        }
        char32_t code = 0;
        const int n = SequenceAt(s, end - s, code);
        if (n == 0) {
            *out++ = ByteEscape(*s++);
        } else if (code < 0x10000) {
            *out++ = char16_t(code);
            s += n;
        } else {
            *out++ = QChar::highSurrogate(code);
            *out++ = QChar::lowSurrogate(code);
            s += n;
        }
    }
    text.truncate(out - start);
    return text;
}

QByteArray EncodeUtf8Lossless(QStringView text, bool *lossy)
{
    const char16_t *u = text.utf16();
    const char16_t *const end = u + text.size();
    const char16_t *firstSurrogate = u;
    while (firstSurrogate < end && !QChar::isSurrogate(*firstSurrogate))
        ++firstSurrogate;
    if (firstSurrogate == end)
        return text.toUtf8();
    QByteArray out = text.first(firstSurrogate - u).toUtf8();
    out.reserve(out.size() + (end - firstSurrogate) * 3);
    for (u = firstSurrogate; u < end; ++u) {
        char32_t code = *u;
        if (IsByteEscape(*u)) {
            out += char(*u & 0xFF);
            continue;
        }
        if (QChar::isHighSurrogate(*u) && u + 1 < end && QChar::isLowSurrogate(u[1])) {
            code = QChar::surrogateToUcs4(u[0], u[1]);
            ++u;
        } else if (QChar::isSurrogate(*u)) {
            code = 0xFFFD;
            if (lossy)
                *lossy = true;
        }
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    return out;
}
