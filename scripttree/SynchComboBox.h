#pragma once
// The list of synchronisation operations, in the order of their codes 0 to 8,
// then "Always Prompt".

#include "treeoptions/TreeOptionsCombo.h"

class CSynchComboBox : public CTreeOptionsCombo
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CSynchComboBox(QWidget *parent = nullptr);
};
