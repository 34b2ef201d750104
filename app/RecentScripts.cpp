#include "app/RecentScripts.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString kKey = QStringLiteral("recentScripts");
} // namespace

QStringList CRecentScripts::Read(const QSettings &settings)
{
    QStringList paths = settings.value(kKey).toStringList();
    paths.removeAll(QString());
    paths.removeDuplicates();
    return paths.mid(0, kMaxCount);
}

void CRecentScripts::Add(QSettings &settings, const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = Read(settings);
    paths.removeAll(absolute);
    paths.prepend(absolute);
    settings.setValue(kKey, paths.mid(0, kMaxCount));
}

void CRecentScripts::Remove(QSettings &settings, const QString &path)
{
    QStringList paths = Read(settings);
    if (paths.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        settings.setValue(kKey, paths);
}
