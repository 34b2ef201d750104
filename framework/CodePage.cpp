#include "framework/CodePage.h"

#include "framework/LosslessUtf8.h"

#include <QByteArrayView>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <string>
#include <vector>

namespace {

constexpr int kDefaultCodePage = 1252;

bool IsDoubleByteCodePage(int number)
{
    return number == 932 || number == 936 || number == 949 || number == 950 || number == 1361;
}

iconv_t OpenIconv(const char *to, const char *from)
{
    return iconv_open(to, from);
}

// The iconv name of a Windows code page, or empty when iconv knows none.
std::string IconvName(int number)
{
    for (const std::string &name : {"CP" + std::to_string(number), "WINDOWS-" + std::to_string(number)}) {
        iconv_t probe = OpenIconv("UTF-16LE", name.c_str());
        if (probe != iconv_t(-1)) {
            iconv_close(probe);
            return name;
        }
    }
    return {};
}

// One unit of text, or -1 when iconv rejects the byte.
int DecodeByte(iconv_t cd, unsigned char byte)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in[1] = {char(byte)};
    char outBuf[8];
    char *inPtr = in;
    char *outPtr = outBuf;
    size_t inLeft = 1;
    size_t outLeft = sizeof outBuf;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || outLeft != sizeof outBuf - 2)
        return -1;
    return int((unsigned char)outBuf[0]) | (int((unsigned char)outBuf[1]) << 8);
}

struct AnsiCodePage
{
    int number = kDefaultCodePage;
    bool singleByte = true;
    std::string iconvName;
    std::array<char16_t, 256> decode{};
    bool asciiBelow0x80 = false;      // bytes below 0x80 decode to themselves
    std::vector<std::int16_t> encode; // by UTF-16 unit; -1: not representable

    AnsiCodePage()
    {
        const char *configured = std::getenv("MARROWPAD_CODEPAGE");
        if (configured && *configured) {
            char *end = nullptr;
            const long wanted = std::strtol(configured, &end, 10);
            const std::string name = (*end == '\0' && wanted > 0) ? IconvName(int(wanted)) : std::string();
            if (name.empty()) {
                std::fprintf(stderr, "MARROWPAD_CODEPAGE=%s names no code page this system converts; using %d.\n",
                             configured, kDefaultCodePage);
            } else {
                number = int(wanted);
                iconvName = name;
            }
        }
        if (iconvName.empty())
            iconvName = IconvName(kDefaultCodePage);
        singleByte = !IsDoubleByteCodePage(number);
        if (singleByte)
            BuildTables();
    }

    // Bytes iconv rejects (Windows-1252 leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D
    // undefined) map to the character of the same number, as on Windows.
    void BuildTables()
    {
        iconv_t cd = iconvName.empty() ? iconv_t(-1) : OpenIconv("UTF-16LE", iconvName.c_str());
        for (int b = 0; b < 256; ++b) {
            const int unit = cd == iconv_t(-1) ? -1 : DecodeByte(cd, (unsigned char)b);
            decode[b] = char16_t(unit < 0 ? b : unit);
        }
        if (cd != iconv_t(-1))
            iconv_close(cd);
        asciiBelow0x80 = true;
        for (int b = 0; b < 0x80; ++b)
            asciiBelow0x80 = asciiBelow0x80 && decode[b] == b;
        encode.assign(0x10000, -1);
        for (int b = 255; b >= 0; --b) // the lowest byte wins where two bytes decode alike
            encode[decode[b]] = std::int16_t(b);
    }
};

const AnsiCodePage &Ansi()
{
    static const AnsiCodePage codePage;
    return codePage;
}

// Converts through iconv for the double-byte code pages. A byte sequence the
// code page rejects decodes to U+FFFD; a character it cannot encode becomes '?'.
QString DecodeWithIconv(const char *text, qsizetype length)
{
    iconv_t cd = OpenIconv("UTF-16LE", Ansi().iconvName.c_str());
    std::vector<char> out(size_t(length) * 4 + 4);
    char *in = const_cast<char *>(text);
    size_t inLeft = size_t(length);
    char *outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: four bytes of room per input byte
        // An invalid or cut sequence: one replacement character for its first byte.
        const char16_t replacement = 0xFFFD;
        std::memcpy(outPtr, &replacement, 2);
        outPtr += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    const size_t bytes = size_t(outPtr - out.data());
    QString result(qsizetype(bytes / 2), Qt::Uninitialized);
    std::memcpy(result.data(), out.data(), bytes);
    return result;
}

QByteArray EncodeWithIconv(const QChar *text, qsizetype length, bool *lossy)
{
    iconv_t cd = OpenIconv(Ansi().iconvName.c_str(), "UTF-16LE");
    QByteArray out(qsizetype(length) * 4 + 4, Qt::Uninitialized);
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text));
    size_t inLeft = size_t(length) * 2;
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG)
            break;
        *outPtr++ = '?';
        --outLeft;
        const bool highSurrogate = QChar(*reinterpret_cast<char16_t *>(in)).isHighSurrogate();
        const size_t skip = (highSurrogate && inLeft >= 4) ? 4 : 2;
        in += skip;
        inLeft -= std::min(skip, inLeft);
        if (lossy)
            *lossy = true;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    out.truncate(outPtr - out.data());
    return out;
}

} // namespace

namespace {

// Decodes bytes of a single-byte code page through its table. Sixteen bytes
// at a time are widened as they stand, and only the bytes from 0x80 up are
// then looked up (below 0x80 the table must be ASCII, which the caller checks).
void DecodeAsciiFirst(const unsigned char *src, qsizetype length, char16_t *dst, const std::array<char16_t, 256> &table)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= length; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i + 8), _mm_unpackhi_epi8(bytes, zero));
        for (unsigned high = unsigned(_mm_movemask_epi8(bytes)); high != 0; high &= high - 1) {
            const qsizetype at = i + __builtin_ctz(high);
            dst[at] = table[src[at]];
        }
    }
#endif
    for (; i < length; ++i)
        dst[i] = table[src[i]];
}

void DecodeSingleByte(const unsigned char *src, qsizetype length, char16_t *dst, const AnsiCodePage &cp)
{
    if (cp.asciiBelow0x80) {
        DecodeAsciiFirst(src, length, dst, cp.decode);
        return;
    }
    for (qsizetype i = 0; i < length; ++i)
        dst[i] = cp.decode[src[i]];
}

} // namespace

bool AnsiIsSingleByte()
{
    return Ansi().singleByte;
}

void DecodeSingleByteAnsi(const char *text, qsizetype length, char16_t *out)
{
    DecodeSingleByte(reinterpret_cast<const unsigned char *>(text), length, out, Ansi());
}

qsizetype MultiByteToString(const char *text, qsizetype length, QString &out, int mode)
{
    if (length <= 0) {
        out.clear();
        return 0;
    }
    if (mode == kUtf8) {
        out = DecodeUtf8Lossless(text, length);
        return out.size();
    }
    if (mode == kUtf16) {
        out.resize(length / 2);
        std::memcpy(out.data(), text, size_t(length / 2) * 2);
        return out.size();
    }
    const AnsiCodePage &cp = Ansi();
    if (!cp.singleByte) {
        out = DecodeWithIconv(text, length);
        return out.size();
    }
    out.resize(length);
    DecodeSingleByte(reinterpret_cast<const unsigned char *>(text), length, reinterpret_cast<char16_t *>(out.data()),
                     cp);
    return length;
}

qsizetype StringToMultiByte(const QChar *text, qsizetype length, QByteArray &out, int mode, bool *lossy)
{
    if (length <= 0) {
        out.clear();
        return 0;
    }
    if (mode == kUtf8) {
        out = EncodeUtf8Lossless(QStringView(text, length));
        return out.size();
    }
    if (mode == kUtf16) {
        out.resize(qsizetype(length) * 2);
        std::memcpy(out.data(), text, size_t(length) * 2);
        return out.size();
    }
    const AnsiCodePage &cp = Ansi();
    if (!cp.singleByte) {
        out = EncodeWithIconv(text, length, lossy);
        return out.size();
    }
    out.resize(length);
    char *dst = out.data();
    qsizetype written = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t unit = text[i].unicode();
        const std::int16_t byte = cp.encode[unit];
        if (byte >= 0) {
            dst[written++] = char(byte);
            continue;
        }
        dst[written++] = '?';
        if (lossy)
            *lossy = true;
        if (QChar::isHighSurrogate(unit) && i + 1 < length && text[i + 1].isLowSurrogate())
            ++i; // one '?' for the whole character
    }
    out.truncate(written);
    return written;
}

bool AnsiCanEncode(const QString &text)
{
    const AnsiCodePage &cp = Ansi();
    if (cp.singleByte) {
        for (QChar c : text)
            if (cp.encode[c.unicode()] < 0)
                return false;
        return true;
    }
    bool lossy = false;
    QByteArray bytes;
    StringToMultiByte(text.constData(), text.size(), bytes, kAnsiCodePage, &lossy);
    return !lossy;
}

int AnsiCodePageNumber()
{
    return Ansi().number;
}
