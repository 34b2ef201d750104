#include "script/tree/ScriptTree.h"

#include "script/tree/ActionCompleter.h"
#include "treeoptions/TreeOptionsCtrl.h"

void CompleteAction(CTreeOptionsCtrl &tree, QTreeWidgetItem *root)
{
    CActionCompleter(tree).Complete(root);
}

QTreeWidgetItem *InsertActionRoot(CTreeOptionsCtrl &tree, const QString &name, CTreeInsertPos insertAfter)
{
    return tree.InsertItem(name, 11, nullptr, insertAfter);
}
