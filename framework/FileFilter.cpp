#include "framework/FileFilter.h"

#include <QDir>
#include <QFileInfo>

namespace {

QStringList SplitPatterns(const QString &patterns)
{
    QStringList result;
    for (const QString &part : patterns.split(u';')) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            result.append(trimmed);
    }
    return result;
}

QString DescriptionWithout(const QString &description, const QStringList &patterns)
{
    const QString trimmed = description.trimmed();
    const qsizetype open = trimmed.lastIndexOf(u'(');
    if (!trimmed.endsWith(u')') || open < 0)
        return trimmed;
    // "(*.txt;*.log)" and "(*.txt, *.log)" name the same patterns.
    QString inner = trimmed.mid(open + 1, trimmed.size() - open - 2);
    inner.replace(u',', u';').replace(u' ', u';');
    if (SplitPatterns(inner) != patterns)
        return trimmed;
    return trimmed.left(open).trimmed();
}

} // namespace

QStringList FileFilterToNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        if (description.isEmpty() && parts[i + 1].isEmpty())
            break; // the "||" that ends the list
        const QStringList patterns = SplitPatterns(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        QStringList converted;
        for (const QString &pattern : patterns) {
            const QString name = pattern == u"*.*" ? QStringLiteral("*") : pattern;
            if (!converted.contains(name))
                converted.append(name);
        }
        QString label = DescriptionWithout(description, patterns);
        if (!label.isEmpty())
            label += u' ';
        result.append(label + u'(' + converted.join(u' ') + u')');
    }
    return result;
}

QString NearestExistingFolder(const QString &path)
{
    if (path.isEmpty())
        return QString();
    QString current = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (true) {
        const QFileInfo info(current);
        if (info.isDir())
            return current;
        const QString parent = info.path();
        if (parent == current)
            return QString();
        current = parent;
    }
}
