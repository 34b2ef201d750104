#pragma once
// The words for one setting's value in effect: the tooltip of its item in the
// tree (after the setting's own description, when it has one) and of its row
// in the values pane.

#include "script/check/ValuesInEffect.h"

#include <QString>

class CSettingToolTip
{
public:
    // `description` first (may be empty), then the value in effect, where it
    // comes from and, when the action overrides "Default", that it does.
    static QString Text(const QString &description, const EffectiveValue &value);
    // The setting's key, marked when the action overrides "Default".
    static QString MarkedName(const EffectiveValue &value);
};
