#include "script/tree/ScriptTree.h"

#include "script/SynchArray.h"
#include "script/tree/ActionCompleter.h"
#include "script/tree/BranchBuilder.h"
#include "script/tree/ScriptSaver.h"
#include "script/tree/ScriptTreeRoles.h"
#include "script/tree/ScriptWriter.h"
#include "treeoptions/TreeOptionsCtrl.h"

int LoadScriptWithTree(CSynchArray &document, const QString &path, CTreeOptionsCtrl &tree, const LoadOptions &options)
{
    CRedrawGuard noRedraw(&tree);
    CBranchBuilder builder(tree);
    const int count = document.LoadScript(path, &builder, options);
    builder.AddRootsToTree();
    // The lines before the first header, and the text kept, are the new document's.
    if (document.m_ScriptFile.LastReadStatus() != ScriptReadStatus::Failed) {
        tree.invisibleRootItem()->setData(0, kScriptLinesRole, QVariant());
        SetScriptLayout(tree.invisibleRootItem(), builder.Layout());
    }
    return count;
}

bool WriteScript(const CSynchArray &document, const QString &path, const CTreeOptionsCtrl &tree,
                 const WriteOptions &options)
{
    // Encoded as it is written: the whole text is never held beside its bytes.
    CScriptWriter writer(document, tree);
    bool becameUnicode = false;
    const QByteArray bytes = CScriptSaver::EncodeScript(writer, document.m_ScriptFile.Encoding(), becameUnicode);
    return CScriptSaver(options).Save(bytes, becameUnicode, path);
}

void CompleteAction(CTreeOptionsCtrl &tree, QTreeWidgetItem *root, CompletionValues values)
{
    CActionCompleter(tree, values).Complete(root);
}

QTreeWidgetItem *InsertActionRoot(CTreeOptionsCtrl &tree, const QString &name, CTreeInsertPos insertAfter)
{
    return tree.InsertItem(name, 11, nullptr, insertAfter);
}
