#pragma once
// The program's one list of the settings an action can have: for each row its
// key in a script section, its label in the options tree and its place in a
// fixed order; and the two closed value lists, operations and sort orders.

#include <QString>
#include <QStringList>

#include <array>

enum class SettingKind { Text, Number, Number64, Date, Check, Radio, Operation, Sort, Bit, Group };

struct SettingRow
{
    const char16_t *key;
    const char16_t *label;
    SettingKind kind;
    int bit;  // mask bit of a Bit row, else 0
};

constexpr int kCatalogueSize = 49;

// Row numbers the code refers to by name.
enum CatalogueRowIndex : int {
    kRowPath1 = 0,
    kRowPath2 = 1,
    kRowMask = 2,
    kRowSearchSubdir = 3,
    kRowOperation = 4,
    kRowSynchronization = 5,
    kRowCompareDateTime = 6,
    kRowBinaryCompare = 7,
    kRowTimeCheckPrecision = 17,
    kRowOutput = 18,
    kRowSortCompare = 23,
    kRowFilters = 33,
    kRowMinDate = 34,
    kRowMaxDate = 35,
    kRowMinSize = 36,
    kRowMaxSize = 37,
    kRowFirstSkipBit = 38,
    kRowLastSkipBit = 42,
    kRowFirstIgnoreBit = 43,
    kRowLastIgnoreBit = 47,
    kRowReverseFilters = 48,
};

// The 49 rows in catalogue order.
const std::array<SettingRow, kCatalogueSize> &SettingCatalogue();

// Empties both lists, then appends the 49 rows in order, one key and one label each.
void BuildSettingCatalogue(QStringList &keys, QStringList &labels);

// The text of the check box that follows the Operation row; it has no key of its own.
inline QString PromptedOperationText() { return QStringLiteral("Prompted Operation"); }

// The separator between an item's label and its value.
inline QString ValueSeparator() { return QStringLiteral(": "); }

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
