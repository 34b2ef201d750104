#include "scripttree/ScriptTree.h"

#include "script/SynchArray.h"
#include "scripttree/ActionCompleter.h"
#include "scripttree/BranchBuilder.h"
#include "scripttree/ScriptSaver.h"
#include "scripttree/ScriptTreeRoles.h"
#include "scripttree/ScriptWriter.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsImages.h"

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
    return tree.InsertItem(name, kImageText, nullptr, insertAfter);
}
