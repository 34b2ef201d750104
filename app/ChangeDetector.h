#pragma once
// Finds whether the script in the options tree differs from a baseline
// document: the tree is written to a temporary file by the script writer, read
// back by the loader without a tree, and the records compared.

#include <memory>

class CSynchArray;
class CTreeOptionsCtrl;

class CChangeDetector
{
public:
    // The tree's script as the loader reads it back after the writer wrote it,
    // using `document` for what the tree does not show. Null when the
    // temporary file cannot be made, written or read. Writes and reads
    // quietly: nothing is reported, invalid dates included.
    static std::unique_ptr<CSynchArray> ReadBack(const CTreeOptionsCtrl &tree, const CSynchArray &document);

    // Whether two documents hold the same script: as many action records,
    // each equal to the one at the same index, and equal "Default" records.
    static bool SameScript(const CSynchArray &a, const CSynchArray &b);

    // Whether the tree's script differs from `baseline`; a check that cannot
    // write or read its temporary file counts as a change.
    static bool IsScriptModified(const CTreeOptionsCtrl &tree, const CSynchArray &baseline);
};
