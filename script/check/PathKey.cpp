#include "script/check/PathKey.h"

#include <QStringList>

namespace {

bool NamesVariable(QStringView path)
{
    const qsizetype open = path.indexOf(u'%');
    return open >= 0 && path.indexOf(u'%', open + 2) > open;
}

} // namespace

CPathKey::CPathKey(QStringView path)
{
    if (path.trimmed().isEmpty())
        return;
    m_bVariable = NamesVariable(path);
    QString text = path.toString().toCaseFolded();
    text.replace(u'\\', u'/');

    // The root: "//" of a network path, "x:/" of a drive, "/" of the current drive.
    QString root;
    qsizetype rest = 0;
    if (text.startsWith(QLatin1String("//"))) {
        root = QStringLiteral("//");
        rest = 2;
    } else if (text.size() >= 2 && text[1] == u':') {
        root = text.left(2) + u'/';
        rest = 2;
    } else if (text.startsWith(u'/')) {
        root = QStringLiteral("/");
        rest = 1;
    }
    QStringList parts;
    for (const QStringView part : QStringView(text).mid(rest).split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u".." && !parts.isEmpty() && parts.last() != QLatin1String(".."))
            parts.removeLast();
        else if (part != u".." || root.isEmpty())
            parts.append(part.toString());
    }
    m_strKey = root + parts.join(u'/');
    if (m_strKey.isEmpty())
        m_strKey = QStringLiteral(".");
}

QString CPathKey::SortKey() const
{
    QString key = m_strKey;
    key.replace(u'/', QChar(1));
    return key;
}

bool CPathKey::IsPrefixFolderOf(const CPathKey &inner) const
{
    const qsizetype n = m_strKey.size();
    if (IsEmpty() || inner.m_strKey.size() <= n || !inner.m_strKey.startsWith(m_strKey))
        return false;
    return m_strKey.endsWith(u'/') || inner.m_strKey[n] == u'/';
}

bool CPathKey::Contains(const CPathKey &inner) const
{
    return !m_bVariable && !inner.m_bVariable && IsPrefixFolderOf(inner);
}
