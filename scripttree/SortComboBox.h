#pragma once
// The list of sort orders: "Unsorted", then the sort codes 0 to 6.

#include "treeoptions/TreeOptionsCombo.h"

class CSortComboBox : public CTreeOptionsCombo
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CSortComboBox(QWidget *parent = nullptr);
};
