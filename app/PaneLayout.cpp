#include "app/PaneLayout.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

void LayOutPane(QWidget &pane, QLabel &caption, QTreeView &list)
{
    list.setRootIsDecorated(false);
    list.setUniformRowHeights(true);
    list.setAllColumnsShowFocus(true);
    list.setEditTriggers(QAbstractItemView::NoEditTriggers);
    list.header()->setStretchLastSection(false);
    caption.setBuddy(&list);
    auto *layout = new QVBoxLayout(&pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(&caption);
    layout->addWidget(&list, 1);
}
