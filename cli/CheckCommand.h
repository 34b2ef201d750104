#pragma once
#include <QStringList>

// mbscript check [--json] [--strict] FILE...
int RunCheck(const QStringList &arguments);
