#pragma once
// Finds whether the script in the options tree differs from a baseline
// document: the tree is turned into the bytes a save would write, read back
// from memory by the loader without a tree, and the records compared.

#include <memory>

class CSynchArray;
class CTreeOptionsCtrl;

class CChangeDetector
{
public:
    // The tree's script as the loader reads it back after the writer wrote it,
    // using `document` for what the tree does not show and for the encoding.
    // Null only when there is not enough memory to read it back. Invalid dates
    // are not reported.
    static std::unique_ptr<CSynchArray> ReadBack(const CTreeOptionsCtrl &tree, const CSynchArray &document);

    // Whether two documents hold the same script: as many action records,
    // each equal to the one at the same index, and equal "Default" records.
    static bool SameScript(const CSynchArray &a, const CSynchArray &b);

    // Whether the tree's script differs from `baseline`; a check that runs out
    // of memory counts as a change.
    static bool IsScriptModified(const CTreeOptionsCtrl &tree, const CSynchArray &baseline);
};
