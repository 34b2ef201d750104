#pragma once
// Takes the loader's records one at a time, as each is finished, for a reader
// that writes an action out and forgets it rather than keeping the script's
// every record in memory.

#include <QString>

class CSynchArray;
class CSynchSettings;

class IActionSink
{
public:
    virtual ~IActionSink() = default;

    // "Default" is loaded: the document's m_Default, m_arrDefaultAtLines and
    // script file (its encoding) are set. Once, before any action; not at all
    // when the file is empty or cannot be read.
    virtual void DefaultLoaded(const CSynchArray &document) = 0;

    // An action's finished record under its section name, in load order; the
    // loader frees it when this returns.
    virtual void ActionLoaded(const QString &name, const CSynchSettings &record) = 0;
};
