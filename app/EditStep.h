#pragma once
// One step of the edit history: the edits of one command or one change in the
// tree, and the item that was current before and after it. Undo takes the
// edits back in reverse order and makes the item current before it current
// again (its branch expanded so it shows); Redo does them again.

#include "app/ItemPath.h"
#include "app/TreeEdits.h"

#include <memory>
#include <optional>
#include <vector>

class QTreeWidget;

class CEditStep
{
public:
    // `current`: the current item before the step, if any.
    explicit CEditStep(std::optional<CItemPath> current) : m_before(std::move(current)) {}

    void Add(std::unique_ptr<CTreeEdit> edit) { m_edits.push_back(std::move(edit)); }
    void SetCurrentAfter(std::optional<CItemPath> current) { m_after = std::move(current); }
    bool IsEmpty() const { return m_edits.empty(); }

    void Undo(QTreeWidget &tree);
    void Redo(QTreeWidget &tree);

    // The path of the tree's current item, if it has one.
    static std::optional<CItemPath> CurrentOf(const QTreeWidget &tree);

private:
    static void MakeCurrent(QTreeWidget &tree, const std::optional<CItemPath> &path);

    std::vector<std::unique_ptr<CTreeEdit>> m_edits;
    std::optional<CItemPath> m_before;
    std::optional<CItemPath> m_after;
};
