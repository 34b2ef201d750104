#include "scripttree/SortComboBox.h"

#include "script/SettingCatalogue.h"

CSortComboBox::CSortComboBox(QWidget *parent) : CTreeOptionsCombo(parent)
{
    addItems(SortTexts());
}
