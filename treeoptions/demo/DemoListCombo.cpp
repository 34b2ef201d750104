#include "treeoptions/demo/DemoListCombo.h"

CDemoListCombo::CDemoListCombo(QWidget *parent) : CTreeOptionsCombo(parent)
{
    addItems({QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")});
}
