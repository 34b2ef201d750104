#include "app/SettingToolTip.h"

#include "script/SettingFields.h"

QString CSettingToolTip::Text(const QString &description, const EffectiveValue &value)
{
    QString text = QStringLiteral("In effect: %1 (from %2)").arg(value.value, OriginText(value.origin));
    if (value.overridesDefault)
        text += QStringLiteral("; this action overrides Default's value");
    return description.isEmpty() ? text : description + QLatin1Char('\n') + text;
}

QString CSettingToolTip::MarkedName(const EffectiveValue &value)
{
    const QString key = value.field->Key();
    return value.overridesDefault ? QStringLiteral("\u25CF ") + key : key;
}
