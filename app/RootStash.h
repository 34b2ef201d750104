#pragma once
// Takes every root item out of a tree and keeps it aside, so that something
// else can be tried in the emptied tree: Restore puts the roots back as they
// were (expanded branches, current item, scroll position); otherwise they are
// deleted with the stash.

#include <QList>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class CRootStash
{
public:
    explicit CRootStash(QTreeWidget &tree);
    ~CRootStash();
    CRootStash(const CRootStash &) = delete;
    CRootStash &operator=(const CRootStash &) = delete;

    // Deletes whatever the tree holds now and puts the kept roots back.
    void Restore();

private:
    QTreeWidget &m_tree;
    QList<QTreeWidgetItem *> m_roots;
    std::vector<QTreeWidgetItem *> m_expanded;
    QTreeWidgetItem *m_pCurrent = nullptr;
    int m_nScroll = 0;
};
