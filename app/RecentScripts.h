#pragma once
// The scripts opened or saved last, newest first, each once: what Load
// Script's drop-down menu offers. Kept in the editor's settings, so every
// editor running and the next start see the same list.

#include <QStringList>

class QSettings;

class CRecentScripts
{
public:
    static constexpr int kMaxCount = 8;

    static QStringList Read(const QSettings &settings);
    // Puts `path` (made absolute) first; the oldest beyond kMaxCount go.
    static void Add(QSettings &settings, const QString &path);
    static void Remove(QSettings &settings, const QString &path);
};
