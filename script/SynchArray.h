#pragma once
// The script document: the records of the actions in load order, their
// section names, the "Default" section's "@=" lines and the script file the
// script is read through.

#include "script/LoadOptions.h"
#include "script/ScriptFile.h"
#include "script/SynchSettings.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class IActionSink;
class ISectionTreeBuilder;

class CSynchArray
{
public:
    CSynchArray();
    ~CSynchArray();
    CSynchArray(const CSynchArray &) = delete;
    CSynchArray &operator=(const CSynchArray &) = delete;

    qsizetype GetSize() const { return qsizetype(m_actions.size()); }
    CSynchSettings *GetAt(qsizetype index) const { return m_actions[size_t(index)].get(); }
    // Appends a record and, at the same index, its section name.
    void Add(std::unique_ptr<CSynchSettings> record, const QString &name);
    // Deletes every record; the name lists and the script file stay.
    void RemoveAllActions();

    // Empties the document and fills it from the script at `path`: the
    // "Default" section into m_Default, then one record per section named
    // exactly "Action%d" (a positive number without sign, leading zeros or
    // blanks; case ignored), in ascending number, each starting as a copy of
    // m_Default. With a builder, it is told each root and key (see
    // ISectionTreeBuilder). Returns the number of action records; 0 when the
    // file cannot be read or is empty.
    int LoadScript(const QString &path, ISectionTreeBuilder *builder = nullptr,
                   const LoadOptions &options = LoadOptions());
    // The same for a script already in memory, as its file would hold it;
    // `path` names it in messages.
    int LoadScriptFromBytes(const QByteArray &bytes, const QString &path, ISectionTreeBuilder *builder = nullptr,
                            const LoadOptions &options = LoadOptions());

    // The same for script text already in memory, read as if from `path`.
    int LoadScriptText(const QString &path, const QString &text, ISectionTreeBuilder *builder = nullptr,
                       const LoadOptions &options = LoadOptions());

    // Reads the script at `path` as LoadScript does, but hands each action
    // record to `sink` as soon as it is finished and keeps none: GetSize()
    // stays 0 and m_arrActionNames empty. A builder is told each root and key
    // as with LoadScript; the sink hears of a section right after its root
    // ends. Returns the number handed over.
    int StreamScript(const QString &path, IActionSink &sink, const LoadOptions &options = LoadOptions(),
                     ISectionTreeBuilder *builder = nullptr);
    // Hands the records of the script last read to `sink` again, as
    // StreamScript did, without reading the file again (which may have been
    // a pipe); 0 when the last read failed or found the file empty.
    int StreamAgain(IActionSink &sink, const LoadOptions &options = LoadOptions(),
                    ISectionTreeBuilder *builder = nullptr);

    QStringList m_arrDefaultAtLines;
    QStringList m_arrActionNames;
    // The record read from the "Default" section (built-in defaults where
    // it lacks a key), as of the last load; its m_arrAtLines are the
    // "Default" section's "@=" lines.
    CSynchSettings m_Default;
    CScriptFile m_ScriptFile;

private:
    void Clear();
    // Fills the records from the script file just read, or hands them to
    // `sink` when there is one.
    int LoadSections(ISectionTreeBuilder *builder, const LoadOptions &options, IActionSink *sink = nullptr);

    std::vector<std::unique_ptr<CSynchSettings>> m_actions;
};

// The numbers of the sections named exactly "Action%d", ascending, each once.
std::vector<qint32> LoadableActionNumbers(const CScriptFile &file);
// Whether `name` has exactly the form "Action%d" (ignoring case) with a positive
// 32-bit number; the number goes to `number`.
bool ParseActionName(QStringView name, qint32 &number);
