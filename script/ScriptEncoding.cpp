#include "script/ScriptEncoding.h"

#include "framework/CodePage.h"

ScriptEncodingMark DetectScriptEncoding(const char *bytes, qsizetype size)
{
    const auto *first = reinterpret_cast<const unsigned char *>(bytes);
    if (size >= 2 && first[0] == 0xFF && first[1] == 0xFE)
        return {ScriptEncoding::Utf16Le, 2};
    if (size >= 3 && first[0] == 0xEF && first[1] == 0xBB && first[2] == 0xBF)
        return {ScriptEncoding::Utf8, 3};
    return {};
}

void DecodeScript(const char *bytes, qsizetype size, ScriptEncodingMark mark, QString &text)
{
    const char *body = bytes + mark.length;
    const qsizetype length = size - mark.length;
    switch (mark.encoding) {
    case ScriptEncoding::Utf16Le:
        MultiByteToString(body, length & ~qsizetype(1), text, kUtf16);
        return;
    case ScriptEncoding::Utf8:
        MultiByteToString(body, length, text, kUtf8);
        return;
    case ScriptEncoding::Ansi:
        MultiByteToString(body, length, text, kAnsiCodePage);
        return;
    }
}
