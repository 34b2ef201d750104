#pragma once
// Reads a script and writes it again exactly as the editor saves it right
// after loading it (with Show All on every section when asked): byte for byte
// but the lines Show All adds, or, normalising, in catalogue order as a tree
// without the script's layout is written. One section at a time: each root is built, completed, written and let go
// before the next section is loaded. The tree never holds more than "Default" and one action, and no action's record
// outlives its section, so a script of any size needs little more than its own text and the bytes written.

#include "script/ActionSink.h"
#include "script/ScriptFile.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptTree.h"

#include <QString>

#include <memory>

class CBranchBuilder;
class CScriptEncoder;
class CScriptWriter;
class CTreeOptionsCtrl;
class QTreeWidgetItem;

class CScriptRewriter final : private IActionSink
{
public:
    enum class Result { Written, Unreadable, Unwritable };

    // `tree` is empty and stays so but for "Default"; it is never shown.
    CScriptRewriter(CTreeOptionsCtrl &tree, bool complete, const WriteOptions &options = WriteOptions(),
                    bool normalize = false);
    ~CScriptRewriter() override;
    CScriptRewriter(const CScriptRewriter &) = delete;
    CScriptRewriter &operator=(const CScriptRewriter &) = delete;

    // Reads the script at `in` and saves it to `out` (through the saver,
    // which never loses an old file). Nothing is written when `in` cannot be
    // read; an empty script is written as an empty one.
    Result Rewrite(const QString &in, const QString &out);

private:
    void DefaultLoaded(const CSynchArray &document) override;
    void ActionLoaded(const QString &name, const CSynchSettings &record) override;

    // Loads and writes every section; false when the script cannot be read.
    // The first pass reads the file; a second one (in UTF-16LE, for ANSI
    // text the code page cannot hold) goes over the text already read.
    bool Pass(const QString &in, bool again);
    // The writer and encoder, and the lines before the first header.
    void Start();
    // Puts the root the builder has just ended into the tree, completes it
    // when asked and writes it; an action's root then goes (`keep` false).
    void TakeRoot(bool keep);
    void Encode(const QString &text);

    CTreeOptionsCtrl &m_tree;
    const bool m_bComplete;
    const bool m_bNormalize;
    const WriteOptions m_options;
    CSynchArray m_document;
    std::unique_ptr<CBranchBuilder> m_builder;
    std::unique_ptr<CScriptWriter> m_writer;
    std::unique_ptr<CScriptEncoder> m_encoder;
    bool m_bUnicode = false; // written as UTF-16LE whatever the script was read in
    bool m_bLossy = false;   // the code page could not hold a character
};
