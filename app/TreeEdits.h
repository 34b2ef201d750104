#pragma once
// The edits a step of the edit history is made of. Each knows what it changed
// in the tree, by path, and can take it back and do it again; a step undoes
// its edits in reverse order, so each finds the tree as it left it.

#include "app/HeldBranch.h"
#include "app/ItemPath.h"
#include "treeoptions/TreeOptionsChange.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <vector>

class QTreeWidget;

class CTreeEdit
{
public:
    virtual ~CTreeEdit() = default;
    virtual void Undo(QTreeWidget &tree) = 0;
    virtual void Redo(QTreeWidget &tree) = 0;
};

// A branch the step added (New Action, Repeat Action) or deleted (Delete).
// While it is out of the tree, the edit holds it.
class CBranchEdit : public CTreeEdit
{
public:
    // The branch at `path` was added and is in the tree.
    static std::unique_ptr<CBranchEdit> Added(const CItemPath &path);
    // The branch was taken from `path` and is `held` now.
    static std::unique_ptr<CBranchEdit> Deleted(const CItemPath &path, CHeldBranch held);

    void Undo(QTreeWidget &tree) override { m_bAdded ? Take(tree) : Put(tree); }
    void Redo(QTreeWidget &tree) override { m_bAdded ? Put(tree) : Take(tree); }

private:
    CBranchEdit(const CItemPath &path, bool added, CHeldBranch held);
    void Take(QTreeWidget &tree) { m_held = CHeldBranch::Take(tree, m_path); }
    void Put(QTreeWidget &tree) { m_held.Put(tree, m_path); }

    CItemPath m_path;
    bool m_bAdded;
    CHeldBranch m_held;
};

// An item replaced by another version of itself (Show All): the edit holds
// whichever version is not in the tree.
class CSwapEdit : public CTreeEdit
{
public:
    CSwapEdit(const CItemPath &path, CHeldBranch other) : m_path(path), m_other(std::move(other)) {}
    void Undo(QTreeWidget &tree) override { Swap(tree); }
    void Redo(QTreeWidget &tree) override { Swap(tree); }

private:
    void Swap(QTreeWidget &tree);

    CItemPath m_path;
    CHeldBranch m_other;
};

// The whole script replaced by another version of it (edits recovered after
// an editor ended): the edit holds the roots that are not in the tree, and
// which of their items were expanded.
class CScriptSwapEdit : public CTreeEdit
{
public:
    // Takes every root out of `tree`, to be held until Undo.
    explicit CScriptSwapEdit(QTreeWidget &tree);
    ~CScriptSwapEdit() override;
    CScriptSwapEdit(const CScriptSwapEdit &) = delete;
    CScriptSwapEdit &operator=(const CScriptSwapEdit &) = delete;

    void Undo(QTreeWidget &tree) override { Swap(tree); }
    void Redo(QTreeWidget &tree) override { Swap(tree); }

private:
    void Swap(QTreeWidget &tree);

    QList<QTreeWidgetItem *> m_roots;
    std::vector<QTreeWidgetItem *> m_expanded;
};

// Move Up or Move Down: a root and its neighbour change places, the names stay.
class CMoveEdit : public CTreeEdit
{
public:
    CMoveEdit(int from, int to) : m_nFrom(from), m_nTo(to) {}
    void Undo(QTreeWidget &tree) override;
    void Redo(QTreeWidget &tree) override;

private:
    int m_nFrom;
    int m_nTo;
};

// The items of a branch changed by an edit inside the tree.
class CStatesEdit : public CTreeEdit
{
public:
    CStatesEdit(const CItemPath &path, CTreeOptionsBranchState before, CTreeOptionsBranchState after)
        : m_path(path)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }
    void Undo(QTreeWidget &tree) override { SetTreeOptionsBranchState(m_path.Item(tree), m_before); }
    void Redo(QTreeWidget &tree) override { SetTreeOptionsBranchState(m_path.Item(tree), m_after); }

private:
    CItemPath m_path;
    CTreeOptionsBranchState m_before;
    CTreeOptionsBranchState m_after;
};

// A value an item holds in a data role of its first column changed: a root's
// name (the actions below a new one move down one name), the lines a root
// carries, or those before the first header on the invisible root.
class CDataEdit : public CTreeEdit
{
public:
    CDataEdit(const CItemPath &path, int role, QVariant before, QVariant after)
        : m_path(path)
        , m_nRole(role)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }
    void Undo(QTreeWidget &tree) override { Set(tree, m_before); }
    void Redo(QTreeWidget &tree) override { Set(tree, m_after); }

private:
    void Set(QTreeWidget &tree, const QVariant &value) const;

    CItemPath m_path;
    int m_nRole;
    QVariant m_before;
    QVariant m_after;
};
