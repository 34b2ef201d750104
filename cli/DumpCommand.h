#pragma once
#include <QString>
#include <QStringList>

class CSynchArray;

// mbscript dump FILE: the loaded records as JSON on stdout.
int RunDump(const QStringList &arguments);

// The JSON text of a loaded document.
QString DumpJson(const CSynchArray &document);
