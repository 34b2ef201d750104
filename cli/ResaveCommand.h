#pragma once
#include <QStringList>

// mbscript resave [--complete] IN OUT: IN loaded into an options tree as the
// editor's Load Script does, written to OUT as the editor's Save does.
int RunResave(const QStringList &arguments);
