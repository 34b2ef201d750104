#pragma once
// The demo's list: a list editor gets its entries from the class derived for it.

#include "treeoptions/TreeOptionsCombo.h"

class CDemoListCombo : public CTreeOptionsCombo
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDemoListCombo(QWidget *parent = nullptr);
};
