#pragma once
// The dump's JSON of a script, written as the loader hands over each record:
// the head with "Default" first, then one action at a time, then the end.

#include "script/ActionSink.h"

class CJsonWriter;

class CDumpWriter : public IActionSink
{
public:
    explicit CDumpWriter(CJsonWriter &json) : m_json(json) {}

    // The encoding, "Default"'s "@=" lines and record.
    void DefaultLoaded(const CSynchArray &document) override;
    void ActionLoaded(const QString &name, const CSynchSettings &record) override;

    // Closes the document; its head comes from `document` when the loader
    // never reached "Default" (an empty script). False when the output could
    // not be written.
    bool Finish(const CSynchArray &document);

private:
    CJsonWriter &m_json;
    bool m_bHeadWritten = false;
    bool m_bAnyAction = false;
};
