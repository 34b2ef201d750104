#include "script/TextEscapes.h"

namespace {

bool MatchesAt(QStringView text, qsizetype at, QStringView find, bool caseSensitive)
{
    for (qsizetype i = 0; i < find.size(); ++i) {
        const QChar a = text[at + i];
        const QChar b = find[i];
        if (a == b)
            continue;
        if (caseSensitive || a.toUpper() != b.toUpper())
            return false;
    }
    return true;
}

} // namespace

int ReplaceAll(QString &text, QStringView find, QStringView replace, bool caseSensitive)
{
    if (find.isEmpty() || text.size() < find.size())
        return 0;
    const QStringView input(text);
    QString result;
    int count = 0;
    qsizetype copiedUpTo = 0;
    const qsizetype last = input.size() - find.size();
    for (qsizetype at = 0; at <= last;) {
        if (!MatchesAt(input, at, find, caseSensitive)) {
            ++at;
            continue;
        }
        if (count == 0)
            result.reserve(input.size());
        result.append(input.mid(copiedUpTo, at - copiedUpTo));
        result.append(replace);
        at += find.size();
        copiedUpTo = at;
        ++count;
    }
    if (count == 0)
        return 0;
    result.append(input.mid(copiedUpTo));
    text = std::move(result);
    return count;
}

int UnescapeControls(QString &text)
{
    if (!text.contains(u'\\')) // every sequence starts with a backslash
        return 0;
    ReplaceAll(text, u"\\t", u"\t", false);
    ReplaceAll(text, u"\\n", u"\n", false);
    return ReplaceAll(text, u"\\r", u"\r", false);
}
