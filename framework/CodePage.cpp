#include "framework/CodePage.h"

#include <QByteArrayView>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultCodePage = 1252;

bool IsDoubleByteCodePage(int number)
{
    return number == 932 || number == 936 || number == 949 || number == 950 || number == 1361;
}

iconv_t OpenIconv(const char *to, const char *from) { return iconv_open(to, from); }

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
    std::vector<std::int16_t> encode;  // by UTF-16 unit; -1: not representable

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
        encode.assign(0x10000, -1);
        for (int b = 255; b >= 0; --b)  // the lowest byte wins where two bytes decode alike
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
            break;  // cannot happen: four bytes of room per input byte
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

qsizetype MultiByteToString(const char *text, qsizetype length, QString &out, int mode)
{
    if (length <= 0) {
        out.clear();
        return 0;
    }
    if (mode == kUtf8) {
        out = QString::fromUtf8(text, length);
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
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const unsigned char *src = reinterpret_cast<const unsigned char *>(text);
    for (qsizetype i = 0; i < length; ++i)
        dst[i] = cp.decode[src[i]];
    return length;
}

qsizetype StringToMultiByte(const QChar *text, qsizetype length, QByteArray &out, int mode, bool *lossy)
{
    if (length <= 0) {
        out.clear();
        return 0;
    }
    if (mode == kUtf8) {
        out = QString(text, length).toUtf8();
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
            ++i;  // one '?' for the whole character
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

int AnsiCodePageNumber() { return Ansi().number; }
