#pragma once
// Checks a value given on the command line or typed in the overview against
// the setting it is for, as the engine and the editor read it, and gives it in
// the form a script holds.

#include <QString>

struct SettingField;

// The value as the script writes it (a code for a list's text, a number in
// plain decimal), or an empty optional with `error` saying why it is refused:
// a flag is 0 or 1, a number is a whole number in its setting's range, an
// Operation or Sort Compare a code or its list text, a date one in the short
// date format of the thread's date locale or "%%today" (empty: none), a text
// holds no line break.
struct CheckedValue
{
    bool ok = false;
    QString value;
    QString error;
};
CheckedValue CheckSettingValue(const SettingField &field, const QString &value);
