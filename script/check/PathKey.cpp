#include "script/check/PathKey.h"

#include <QStringList>

namespace {

bool IsSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

bool IsLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsVariableChar(QChar c)
{
    return IsLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'(' || c == u')';
}

// The length of the variable "%NAME%" at the start of `text`, or 0.
qsizetype VariableAt(QStringView text)
{
    if (text.size() < 3 || text[0] != u'%')
        return 0;
    qsizetype i = 1;
    while (i < text.size() && IsVariableChar(text[i]))
        ++i;
    return i > 1 && i < text.size() && text[i] == u'%' ? i + 1 : 0;
}

bool HoldsVariable(QStringView name)
{
    for (qsizetype i = name.indexOf(u'%'); i >= 0; i = name.indexOf(u'%', i + 1))
        if (VariableAt(name.mid(i)) > 0)
            return true;
    return false;
}

// The next name of `text` from `pos`, skipping separators; empty at the end.
QStringView NextName(QStringView text, qsizetype &pos)
{
    while (pos < text.size() && IsSeparator(text[pos]))
        ++pos;
    const qsizetype start = pos;
    while (pos < text.size() && !IsSeparator(text[pos]))
        ++pos;
    return text.mid(start, pos - start);
}

} // namespace

CPathKey::CPathKey(QStringView path)
{
    if (path.trimmed().isEmpty())
        return;
    m_bText = true;
    if (path.front() == u' ' || path.back() == u' ')
        m_nForm |= kEdgeSpace;

    // Device prefixes: \\?\C:\x and \\.\C:\x are C:\x, \\?\UNC\srv\share is \\srv\share.
    QStringView text = path;
    bool share = false;
    QString root;
    if (text.size() >= 4 && IsSeparator(text[0]) && IsSeparator(text[1]) && (text[2] == u'?' || text[2] == u'.')
        && IsSeparator(text[3])) {
        text = text.mid(4);
        if (text.size() >= 4 && text.first(3).compare(u"UNC", Qt::CaseInsensitive) == 0 && IsSeparator(text[3])) {
            text = text.mid(4);
            share = true;
        } else if (!(text.size() >= 2 && IsLetter(text[0]) && text[1] == u':')) {
            qsizetype pos = 0;
            root = QStringLiteral("//?/") + NextName(text, pos).toString().toCaseFolded();
            text = text.mid(pos);
        }
    } else if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        text = text.mid(2);
        share = true;
    }

    // The root, and whether ".." may climb out of it (its depth is unknown).
    bool relative = false;
    qsizetype pos = 0;
    if (!root.isEmpty()) {
        m_bRoot = true;
    } else if (share) {
        const QString server = NextName(text, pos).toString().toCaseFolded();
        root = QStringLiteral("//") + server + u'/' + NextName(text, pos).toString().toCaseFolded();
        m_bRoot = true;
    } else if (text.size() >= 2 && IsLetter(text[0]) && text[1] == u':') {
        pos = 2;
        if (text.size() > 2 && IsSeparator(text[2])) {
            root = text.first(2).toString().toCaseFolded();
            m_bRoot = true;
        } else {
            root = u'<' + text.first(2).toString().toCaseFolded() + u'>';
            relative = true;
            m_nForm |= kDriveFolder;
        }
    } else if (IsSeparator(text[0])) {
        root = QStringLiteral("<\\>");
        m_bRoot = true;
        m_nForm |= kCurrentDrive;
    } else if (const qsizetype variable = VariableAt(text);
               variable > 0 && (variable == text.size() || IsSeparator(text[variable]))) {
        root = text.first(variable).toString().toCaseFolded();
        pos = variable;
        relative = true;
    } else {
        root = QStringLiteral("<.>");
        relative = true;
        m_nForm |= kWorkingFolder;
    }

    QStringList names;
    for (QStringView name = NextName(text, pos); !name.isEmpty(); name = NextName(text, pos)) {
        if (name == u".")
            continue;
        if (name == u"..") {
            if (!names.isEmpty() && names.last() != u".." && !HoldsVariable(names.last()))
                names.removeLast();
            else if (relative)
                names.append(QStringLiteral(".."));
            continue;
        }
        for (const QChar c : name) {
            if (c == u'"')
                m_nForm |= kQuote;
            else if (c.unicode() < 0x20 || c == u'<' || c == u'>' || c == u'|' || c == u'?' || c == u'*' || c == u':')
                m_nForm |= kForbidden;
        }
        QStringView kept = name;
        while (!kept.isEmpty() && (kept.back() == u' ' || kept.back() == u'.'))
            kept.chop(1);
        if (kept.size() != name.size())
            m_nForm |= kTrailingDot;
        if (!kept.isEmpty())
            names.append(kept.toString().toCaseFolded());
    }
    if (!names.isEmpty())
        m_bRoot = false;
    if (m_nForm & (kQuote | kForbidden)) {
        m_bRoot = false;
        return;
    }
    m_strKey = root;
    for (const QString &name : names)
        m_strKey += u'/' + name;
}

QString CPathKey::SortKey() const
{
    QString key = m_strKey;
    key.replace(u'/', QChar(1));
    return key;
}

bool CPathKey::Contains(const CPathKey &inner) const
{
    const qsizetype n = m_strKey.size();
    return Resolves() && inner.m_strKey.size() > n && inner.m_strKey.startsWith(m_strKey) && inner.m_strKey[n] == u'/';
}
