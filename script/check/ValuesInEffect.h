#pragma once
// What an action does when the engine runs it: every setting with the value
// in effect after inheritance, shown as the editor shows it, and where that
// value comes from.

#include <QString>

#include <vector>

class CSynchArray;
struct SettingField;

enum class ValueOrigin { ThisAction, Default, BuiltIn };

// "this action", "Default" or "built-in".
QString OriginText(ValueOrigin origin);

struct EffectiveValue
{
    const SettingField *field;
    QString value; // as the editor shows it ("on", an operation's text, a date as written)
    ValueOrigin origin;
    // The action sets it, to a value other than "Default"'s.
    bool overridesDefault = false;
};

// Every setting of the section `name` ("Default" or an action of `document`)
// in the loader's order; empty when no such section was loaded. For "Default"
// itself a value it sets comes from "Default".
std::vector<EffectiveValue> ValuesInEffect(const CSynchArray &document, const QString &name);
// The same for the action at `action` (0 to GetSize() - 1), found without a search.
std::vector<EffectiveValue> ValuesInEffect(const CSynchArray &document, qsizetype action);
