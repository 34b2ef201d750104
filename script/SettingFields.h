#pragma once
// The loader's value table: the 41 keys a section is read for, in reading
// order, each with how it is read and the record field it fills. The dump,
// the tests and anything else that walks a record's settings use it.

#include <QString>
#include <QtGlobal>

#include <array>

class CSynchSettings;

enum class FieldKind {
    Text,          // stored as found
    EscapedText,   // stored as found, then \t \n \r resolved
    Int32,         // 32-bit number (flag, code, precision)
    NonNegative,   // 32-bit number, then made non-negative
    Mask,          // 32-bit attribute mask
    Int64,         // 64-bit number (bytes)
    Date,          // date text, stored as a FILETIME
};

struct SettingField
{
    const char16_t *key;
    FieldKind kind;
    int catalogueRow;  // the key's first catalogue row, -1 for keys outside the catalogue
    QString CSynchSettings::*text = nullptr;
    qint32 CSynchSettings::*int32 = nullptr;
    quint32 CSynchSettings::*mask = nullptr;
    qint64 CSynchSettings::*int64 = nullptr;
    quint64 CSynchSettings::*date = nullptr;

    QString Key() const { return QString::fromUtf16(key); }
    // The stored value as text: the text itself, or the number in decimal.
    QString ValueText(const CSynchSettings &record) const;
    bool IsText() const { return text != nullptr; }
    bool Equal(const CSynchSettings &a, const CSynchSettings &b) const;
    void Copy(CSynchSettings &to, const CSynchSettings &from) const;
};

constexpr int kSettingFieldCount = 41;

const std::array<SettingField, kSettingFieldCount> &SettingFields();
