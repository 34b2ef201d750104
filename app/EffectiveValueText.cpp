#include "app/EffectiveValueText.h"

#include "script/SettingFields.h"

QString CEffectiveValueText::Text(const EffectiveValue &value)
{
    QString text = QStringLiteral("In effect: %1 (from %2)").arg(value.value, OriginText(value.origin));
    if (value.overridesDefault)
        text += QStringLiteral("; this action overrides Default's value");
    return text;
}

QString CEffectiveValueText::MarkedName(const EffectiveValue &value)
{
    const QString key = value.field->Key();
    return value.overridesDefault ? QStringLiteral("\u25CF ") + key : key;
}
