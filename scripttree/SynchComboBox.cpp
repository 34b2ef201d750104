#include "scripttree/SynchComboBox.h"

#include "script/SettingCatalogue.h"

CSynchComboBox::CSynchComboBox(QWidget *parent) : CTreeOptionsCombo(parent)
{
    addItems(OperationTexts());
}
