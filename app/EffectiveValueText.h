#pragma once
// The words for one setting's value in effect: a line for the tooltip of its
// item in the tree and of its row in the values pane, and its marked name.

#include "script/check/ValuesInEffect.h"

#include <QString>

class CEffectiveValueText
{
public:
    // The value in effect, where it comes from and, when the action
    // overrides "Default", that it does.
    static QString Text(const EffectiveValue &value);
    // The setting's key, marked when the action overrides "Default".
    static QString MarkedName(const EffectiveValue &value);
};
