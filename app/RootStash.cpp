#include "app/RootStash.h"

#include <QScrollBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

CRootStash::CRootStash(QTreeWidget &tree) : m_tree(tree)
{
    m_pCurrent = tree.currentItem();
    m_nScroll = tree.verticalScrollBar()->value();
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        if ((*it)->isExpanded())
            m_expanded.push_back(*it);
    m_roots = tree.invisibleRootItem()->takeChildren();
}

CRootStash::~CRootStash()
{
    qDeleteAll(m_roots);
}

void CRootStash::Restore()
{
    m_tree.clear();
    m_tree.addTopLevelItems(m_roots);
    m_roots.clear();
    for (QTreeWidgetItem *item : m_expanded)
        item->setExpanded(true);
    m_expanded.clear();
    if (m_pCurrent)
        m_tree.setCurrentItem(m_pCurrent);
    m_tree.verticalScrollBar()->setValue(m_nScroll);
}
