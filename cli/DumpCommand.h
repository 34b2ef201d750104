#pragma once

#include <QStringList>

int RunDump(const QStringList &arguments);
