#pragma once
// The rows of the options tree an action can have, in order, as the table of
// settings (SettingFields.h) gives them: one row per item of a setting (but
// "Prompted Operation", which the writer finds after the Operation item) and
// a heading before the first row of each group; each with its key in a script
// section and its label. And the two closed value lists, operations and sort
// orders.

#include "script/SettingFields.h"

#include <QString>
#include <QStringList>

#include <array>

struct SettingRow
{
    const char16_t *key;
    const char16_t *label;
    SettingKind kind;   // its setting's kind, Group for a heading
    quint32 bit;        // the bit of a mask's box, else 0
    SettingGroup group; // the group it is in; a heading's, the group it heads
    int field;          // its setting's index in SettingFields(), -1 for a heading
    int box;            // which of its setting's items it is

    // The level of a branch it stands on: None under the root, else its group.
    constexpr SettingGroup Level() const { return kind == SettingKind::Group ? SettingGroup::None : group; }
};

constexpr int CatalogueSizeOf(const std::array<SettingField, kSettingFieldCount> &fields)
{
    int rows = 0;
    for (const SettingField &field : fields)
        if (field.IsShown())
            rows = field.catalogueRow + field.RowCount();
    return rows;
}

constexpr int kCatalogueSize = CatalogueSizeOf(kSettingFields);

// The rows in catalogue order.
const std::array<SettingRow, kCatalogueSize> &SettingCatalogue();

// Empties both lists, then appends the rows in order, one key and one label each.
void BuildSettingCatalogue(QStringList &keys, QStringList &labels);

// The text of the check box that follows the Operation item; it has no key of its own.
const QString &PromptedOperationText();

// The separator between an item's label and its value.
inline QString ValueSeparator()
{
    return QStringLiteral(": ");
}

// The operation texts in the order the operation list offers them: entries 0
// to 8 are the codes 0 to 8, entry 9 is "Always Prompt" (code -1).
const QStringList &OperationTexts();
// The sort texts in the order the sort list offers them: entry i is code i - 1.
const QStringList &SortTexts();

// Exact, case-sensitive maps from text to code; any other text gives -1.
int OperationFromText(const QString &text);
int SortFromText(const QString &text);

// The name shown for a stored operation value (0..8, -2..-10 prompted, -1 Always
// Prompt), or an empty text for a value without a name.
QString OperationNameForCode(int storedValue);
// The name shown for a stored sort code (-1..6), or empty for any other value.
QString SortNameForCode(int code);
