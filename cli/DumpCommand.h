#pragma once

#include <QStringList>

class CJsonWriter;
class CSynchArray;

// Writes the document's records as the dump's JSON, as it goes; false when
// the output could not be written.
bool WriteDumpJson(const CSynchArray &document, CJsonWriter &json);
int RunDump(const QStringList &arguments);
