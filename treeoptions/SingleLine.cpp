#include "treeoptions/SingleLine.h"

namespace {
bool IsBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x85 || u == 0x2028 || u == 0x2029;
}
} // namespace

QString SingleLine(const QString &text)
{
    bool any = false;
    for (QChar c : text)
        any = any || IsBreak(c);
    if (!any)
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsBreak(text[i])) {
            out += text[i];
            continue;
        }
        out += u' ';
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return out;
}
