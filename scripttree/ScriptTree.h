#pragma once
// A script in the options tree and back: loading with a tree, writing the tree
// as script text, completing an action with every setting, and the root items
// of actions. The dialog and mbscript call these; everything else of the tree
// side of scripts stays behind them.

#include "script/LoadOptions.h"
#include "treeoptions/TreeOptionsItem.h"

#include <QString>

class CSynchArray;
class CTreeOptionsCtrl;
class QTreeWidgetItem;

// Empties `document` and loads the script at `path` into it, adding one root
// item per section ("Default" always, then each loaded action in ascending
// number) with its branch to `tree`, which the caller has emptied. Returns the
// number of action records; 0 when the file cannot be read (then the tree is
// left as it was).
int LoadScriptWithTree(CSynchArray &document, const QString &path, CTreeOptionsCtrl &tree,
                       const LoadOptions &options = LoadOptions());

struct WriteOptions
{
    // A failure (the file cannot be created or written) is shown to the user.
    bool reportErrors = true;
    // An ANSI script that has to become Unicode to keep every character says so.
    bool announceEncodingChange = true;
};

// Writes what the tree shows as script text to `path`, atomically: the old file
// is replaced only when everything was written. `document` supplies what the
// tree does not show (lines before the first header, sections not loaded, the
// encoding). Returns false after a failure, leaving any old file untouched.
bool WriteScript(const CSynchArray &document, const QString &path, const CTreeOptionsCtrl &tree,
                 const WriteOptions &options = WriteOptions());

// The values of the setting items Show All adds to a section.
enum class CompletionValues {
    // What the section does without the item, so nothing changes what it does:
    // in an action a copy of the item "Default" shows for the setting (with its
    // memory and unsaved edits), else the record's built-in default; in
    // "Default" the built-in default.
    Inherited,
    // The fixed initial states of a brand-new script, which has no behaviour yet.
    Initial,
};

// Gives the section whose root is `root` every setting item it lacks, at its
// fixed place, holding `values`; existing items stay as they are. Expands the
// root and its "Filters" group.
void CompleteAction(CTreeOptionsCtrl &tree, QTreeWidgetItem *root,
                    CompletionValues values = CompletionValues::Inherited);

// Inserts a bare action root item named `name` (kImageText, no record) at the
// root level after `insertAfter`.
QTreeWidgetItem *InsertActionRoot(CTreeOptionsCtrl &tree, const QString &name, CTreeInsertPos insertAfter = TVI_LAST);
