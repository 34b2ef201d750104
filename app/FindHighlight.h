#pragma once
// Paints the options tree as its own delegate does, with the rows that find
// matched on a highlighted ground.

#include "treeoptions/TreeOptionsItemDelegate.h"

class CTreeFind;

class CFindHighlight : public CTreeOptionsItemDelegate
{
    Q_OBJECT
public:
    CFindHighlight(const CTreeFind &find, QObject *parent) : CTreeOptionsItemDelegate(parent), m_find(find) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const CTreeFind &m_find;
};
