#include "scripttree/ScriptRewriter.h"

#include "scripttree/BranchBuilder.h"
#include "scripttree/ScriptEncoder.h"
#include "scripttree/ScriptSaver.h"
#include "scripttree/ScriptTreeRoles.h"
#include "scripttree/ScriptWriter.h"
#include "treeoptions/TreeOptionsCtrl.h"

CScriptRewriter::CScriptRewriter(CTreeOptionsCtrl &tree, bool complete, const WriteOptions &options, bool normalize)
    : m_tree(tree)
    , m_bComplete(complete)
    , m_bNormalize(normalize)
    , m_options(options)
{
}

CScriptRewriter::~CScriptRewriter() = default;

CScriptRewriter::Result CScriptRewriter::Rewrite(const QString &in, const QString &out)
{
    if (!Pass(in, false))
        return Result::Unreadable;
    if (m_bLossy) {
        m_bUnicode = true;
        m_tree.clear();
        Pass(in, true);
    }
    const QByteArray bytes = m_encoder->TakeBytes();
    m_encoder.reset();
    return CScriptSaver(m_options).Save(bytes, m_bUnicode, out) ? Result::Written : Result::Unwritable;
}

bool CScriptRewriter::Pass(const QString &in, bool again)
{
    m_bLossy = false;
    m_writer.reset();
    m_encoder.reset();
    m_builder = std::make_unique<CBranchBuilder>(m_tree);
    if (again) {
        // The dates were reported on the first pass.
        LoadOptions quiet;
        quiet.reportInvalidDates = false;
        m_document.StreamAgain(*this, quiet, m_builder.get());
    } else {
        m_document.StreamScript(in, *this, LoadOptions(), m_builder.get());
    }
    if (m_document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return false;
    if (!m_writer)
        Start(); // nothing loaded: an empty script
    Encode(m_writer->End());
    return true;
}

void CScriptRewriter::Start()
{
    const CScriptFile &file = m_document.m_ScriptFile;
    const ScriptEncoding encoding = m_bUnicode ? ScriptEncoding::Utf16Le : file.Encoding();
    SetScriptLayout(m_tree.invisibleRootItem(), m_bNormalize ? nullptr : m_builder->Layout());
    m_encoder = std::make_unique<CScriptEncoder>(encoding, m_bNormalize);
    // The bytes written are about as many as were read.
    m_encoder->Reserve(file.Text().size() * (encoding == ScriptEncoding::Utf16Le ? 2 : 1) + 4096);
    m_writer = std::make_unique<CScriptWriter>(m_document, m_tree);
    m_writer->BeginStream();
}

void CScriptRewriter::DefaultLoaded(const CSynchArray &)
{
    Start();
    TakeRoot(true); // actions completed later take what it shows
}

void CScriptRewriter::ActionLoaded(const QString &, const CSynchSettings &)
{
    TakeRoot(false);
}

void CScriptRewriter::TakeRoot(bool keep)
{
    m_builder->AddRootsToTree();
    const int index = m_tree.topLevelItemCount() - 1;
    QTreeWidgetItem *root = m_tree.topLevelItem(index);
    if (!m_bLossy) {
        if (m_bComplete)
            CompleteAction(m_tree, root);
        m_writer->WriteRoot(root);
        Encode(m_writer->TakeText());
    }
    if (!keep)
        delete m_tree.takeTopLevelItem(index);
}

void CScriptRewriter::Encode(const QString &text)
{
    if (!m_bLossy && !m_encoder->Append(text))
        m_bLossy = true;
}
