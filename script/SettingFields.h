#pragma once
// The one table of settings: every key the loader reads from a section, once,
// in the order the options tree shows them, with everything the program knows
// of it. The catalogue of the tree's rows (SettingCatalogue.h), a new record's
// values and the loading of a section (CSynchSettings), the branch builder,
// the writer, Show All, the checker, the dump and the help texts all take it
// from here. Adding a setting: a row in SettingTable::Rows() below, its member
// in CSynchSettings when it is new, and its entry in the user guide.

#include "script/SynchSettings.h"

#include <QString>
#include <QtGlobal>

#include <array>

// What a setting's value is: how the loader reads it, the tree shows it, the
// writer writes it and the checker judges it.
enum class SettingKind {
    Text,        // free text, written as shown
    Number,      // 32-bit number
    Number64,    // 64-bit number of bytes; 0 is no limit and shows empty
    Date,        // a date text, kept as a FILETIME; 0 is none
    Check,       // a check box, 0 or 1 (any other number counts as on)
    Radio,       // two radio buttons: the first is 0, the second any other number
    Operation,   // an operation code (SettingCatalogue.h), with the box "Prompted Operation"
    Sort,        // a sort code
    Mask,        // attribute bits, one check box per bit
    EscapedText, // free text whose \t \n \r the loader resolves
    NonNegative, // a 32-bit number taken as its absolute value
    Group,       // a heading of the tree (a catalogue row, never a setting)
};

// Where a setting's items stand: directly under the section's root, or under
// one of the three headings.
enum class SettingGroup { None, Synchronization, Output, Filters };
constexpr int kSettingGroupCount = 4;

// The heading's text, which is also the key of its catalogue row; null for None.
constexpr const char16_t *GroupLabel(SettingGroup group)
{
    switch (group) {
    case SettingGroup::Synchronization:
        return u"Synchronization";
    case SettingGroup::Output:
        return u"Output";
    case SettingGroup::Filters:
        return u"Filters";
    case SettingGroup::None:
        break;
    }
    return nullptr;
}

// How the loader reads a value into its member (follows from the kind).
enum class FieldKind {
    Text,        // stored as found
    EscapedText, // stored as found, then \t \n \r resolved
    Int32,       // 32-bit number (flag, code, precision)
    NonNegative, // 32-bit number, then made non-negative
    Mask,        // 32-bit attribute mask
    Int64,       // 64-bit number (bytes)
    Date,        // date text, stored as a FILETIME
};

// One item of a setting in the tree: its label, and for a mask's box its bit.
struct SettingBox
{
    const char16_t *label = nullptr;
    quint32 bit = 0;
};

// One row of the table.
struct SettingField
{
    SettingGroup group = SettingGroup::None;
    const char16_t *key = nullptr;
    SettingKind type = SettingKind::Text;
    // The items the tree shows for it, in order: the label of a value or a
    // check box (a value's label ends with ": "), the two radio buttons, the
    // Operation list and its "Prompted Operation" box, the boxes of a mask.
    // None: the key is read but never shown nor written.
    std::array<SettingBox, 5> boxes{};
    // The record member it fills: one of these, by the kind.
    QString CSynchSettings::*text = nullptr;
    qint32 CSynchSettings::*int32 = nullptr;
    quint32 CSynchSettings::*mask = nullptr;
    qint64 CSynchSettings::*int64 = nullptr;
    quint64 CSynchSettings::*date = nullptr;
    // A new record's value, before any section is read.
    const char16_t *builtInText = u"";
    qint64 builtIn = 0;
    // What the items of a brand-new script start with (Show All): a box's
    // state, the selected radio's value, a mask's bits, a code; values start
    // empty. These are the new script's own and may differ from the built-in
    // defaults.
    qint64 initial = 0;

    // Set from the columns above when the table is made.
    FieldKind kind = FieldKind::Text;
    int catalogueRow = -1; // the catalogue row of its first item, -1 when not shown

    constexpr bool IsShown() const { return boxes[0].label != nullptr; }
    constexpr int BoxCount() const
    {
        int count = 0;
        while (count < int(boxes.size()) && boxes[size_t(count)].label)
            ++count;
        return count;
    }
    // Its rows in the catalogue: one per item, but for the prompt, which
    // the writer finds as the item after the Operation item.
    constexpr int RowCount() const { return type == SettingKind::Operation ? 1 : BoxCount(); }
    // A mask's bits that have boxes.
    constexpr quint32 BoxBits() const
    {
        quint32 bits = 0;
        for (const SettingBox &box : boxes)
            bits |= box.bit;
        return bits;
    }
    // A value the checker expects to be 0 or 1.
    constexpr bool IsFlag() const { return type == SettingKind::Check || type == SettingKind::Radio; }

    QString Key() const { return QString::fromUtf16(key); }
    QString Label(int box = 0) const { return QString::fromUtf16(boxes[size_t(box)].label); }
    // The stored value as text: the text itself, or the number in decimal.
    QString ValueText(const CSynchSettings &record) const;
    bool IsText() const { return text != nullptr; }
    bool Equal(const CSynchSettings &a, const CSynchSettings &b) const;
    void Copy(CSynchSettings &to, const CSynchSettings &from) const;
    void SetBuiltIn(CSynchSettings &record) const;
};

namespace SettingTable {

using G = SettingGroup;
using K = SettingKind;
using S = CSynchSettings;

constexpr SettingField Field(G group, const char16_t *key, K type, std::array<SettingBox, 5> boxes, qint64 builtIn,
                             qint64 initial)
{
    SettingField field;
    field.group = group;
    field.key = key;
    field.type = type;
    field.boxes = boxes;
    field.builtIn = builtIn;
    field.initial = initial;
    return field;
}

constexpr SettingField Text(G group, const char16_t *key, const char16_t *label, QString S::*member,
                            const char16_t *builtIn = u"", K type = K::Text)
{
    SettingField field = Field(group, key, type, {{{label}}}, 0, 0);
    field.text = member;
    field.builtInText = builtIn;
    return field;
}

constexpr SettingField Int(G group, const char16_t *key, K type, std::array<SettingBox, 5> boxes, qint32 S::*member,
                           qint64 builtIn, qint64 initial = 0)
{
    SettingField field = Field(group, key, type, boxes, builtIn, initial);
    field.int32 = member;
    return field;
}

constexpr SettingField Check(G group, const char16_t *key, const char16_t *label, qint32 S::*member, qint64 builtIn,
                             qint64 initial)
{
    return Int(group, key, K::Check, {{{label}}}, member, builtIn, initial);
}

constexpr SettingField Mask(G group, const char16_t *key, std::array<SettingBox, 5> boxes, quint32 S::*member,
                            qint64 builtIn, qint64 initial)
{
    SettingField field = Field(group, key, K::Mask, boxes, builtIn, initial);
    field.mask = member;
    return field;
}

constexpr SettingField Bytes(G group, const char16_t *key, const char16_t *label, qint64 S::*member)
{
    SettingField field = Field(group, key, K::Number64, {{{label}}}, 0, 0);
    field.int64 = member;
    return field;
}

constexpr SettingField Date(G group, const char16_t *key, const char16_t *label, quint64 S::*member)
{
    SettingField field = Field(group, key, K::Date, {{{label}}}, 0, 0);
    field.date = member;
    return field;
}

// The settings, in the order the tree shows them; a group's rows stand
// together. Keys that are read but never shown come last.
constexpr auto Rows()
{
    constexpr G None = G::None, Synch = G::Synchronization, Output = G::Output, Filters = G::Filters;
    //     group     key / label(s) / record member / built-in default / a new script's state
    return std::array{
        Text(None, u"Path1", u"Source Path: ", &S::m_strPath1),
        Text(None, u"Path2", u"Target Path: ", &S::m_strPath2),
        Text(None, u"Mask", u"File Mask: ", &S::m_strMask, u"*.*"),
        Check(None, u"Search_subdir", u"Include Subdirectories", &S::m_bSearchSubdir, 1, 1),
        Int(None, u"Operation", K::Operation, {{{u"Operation: "}, {u"Prompted Operation"}}}, &S::m_nOperation, -1,
            6 /* Produce Compare Report */),
        Int(Synch, u"Check Same Size Files", K::Radio, {{{u"Compare Date/Time"}, {u"Binary Compare Files"}}},
            &S::m_nCheckSameSizeFiles, 0, 0),
        Check(Synch, u"Ignore Whitespace Compare", u"Ignore Whitespace when comparing files", &S::m_bIgnoreWhitespace,
              0, 0),
        Check(Synch, u"Ignore Case Compare", u"Ignore Case when comparing files", &S::m_bIgnoreCase, 0, 0),
        Check(Synch, u"Confirm Updates", u"Confirm Updates", &S::m_bConfirmUpdates, 1, 1),
        Check(Synch, u"Group Files", u"Group Related Files for display", &S::m_bGroupFiles, 0, 0),
        Check(Synch, u"Case Sensitive", u"Case Sensitive check for file names", &S::m_bCaseSensitive, 0, 0),
        Check(Synch, u"Match In Subdir", u"Match Duplicates", &S::m_bMatchInSubdir, 0, 0),
        Check(Synch, u"Older Overwrite", u"Overwrite Older Files", &S::m_bOlderOverwrite, 1, 1),
        Check(Synch, u"Newer Overwrite", u"Overwrite Newer Files", &S::m_bNewerOverwrite, 0, 0),
        Check(Synch, u"Use OS Operations", u"Use Native File Operations", &S::m_bUseOSOperations, 0, 0),
        Int(Synch, u"Time Check Precision", K::Number, {{{u"Time Check Precision: "}}}, &S::m_nTimeCheckPrecision, 3),
        Check(Output, u"Always Show Archives in 1 Dir View", u"Always Show Archives", &S::m_bAlwaysShowArchives, 1, 0),
        Check(Output, u"Show Identical", u"Show Identical Files", &S::m_bShowIdentical, 1, 1),
        Check(Output, u"Show Different", u"Show Different Files", &S::m_bShowDifferent, 1, 1),
        Check(Output, u"Show Files in 1 Dir", u"Show Files in 1 Directory", &S::m_bShowFilesIn1Dir, 1, 1),
        Int(Output, u"Sort Compare", K::Sort, {{{u"Sort By: "}}}, &S::m_nSortCompare, -1, -1 /* Unsorted */),
        Check(Output, u"Sort Type", u"Sort Ascending", &S::m_bSortAscending, 1, 1),
        Text(Output, u"Output File", u"Produce Output File: ", &S::m_strOutputFile),
        Check(Output, u"Append to Output File", u"Append to output file", &S::m_bAppendToOutputFile, 0, 1),
        Text(Output, u"Output Columns", u"Output Columns: ", &S::m_strOutputColumns),
        Check(Output, u"Show progress", u"Show Progress", &S::m_bShowProgress, 1, 1),
        Check(Output, u"Display Error Messages", u"Display Error Messages", &S::m_bDisplayErrorMessages, 0, 1),
        Text(Output, u"Custom Message", u"Custom Message: ", &S::m_strCustomMessage),
        Check(Output, u"Allow Cancel", u"Allow Cancel", &S::m_bAllowCancel, 1, 1),
        Text(Output, u"Bitmap File", u"Bitmap File: ", &S::m_strBitmapFile),
        Date(Filters, u"Min Date Filter", u"Exclude Files Before Date: ", &S::m_nMinDate),
        Date(Filters, u"Max Date Filter", u"Exclude Files After Date: ", &S::m_nMaxDate),
        Bytes(Filters, u"Min Size Filter", u"Exclude Files Smaller Than (bytes): ", &S::m_nMinSize),
        Bytes(Filters, u"Max Size Filter", u"Exclude Files Larger Than (bytes): ", &S::m_nMaxSize),
        Mask(Filters, u"Skip Files Mask",
             {{{u"Exclude Read-Only Files", 0x01},
               {u"Exclude Hidden Files", 0x02},
               {u"Exclude Directories", 0x10},
               {u"Exclude Archive Files", 0x20},
               {u"Exclude System Files", 0x04}}},
             &S::m_nSkipFilesMask, 0, 0),
        Mask(Filters, u"Ignore Attributes",
             {{{u"Ignore Read-Only Files", 0x01},
               {u"Ignore Hidden Files", 0x02},
               {u"Ignore Directories", 0x10},
               {u"Ignore Archive Files", 0x20},
               {u"Ignore System Files", 0x04}}},
             &S::m_nIgnoreAttributes, 0x37, 0x37),
        Check(Filters, u"Reverse Filters", u"Reverse Filters", &S::m_bReverseFilters, 0, 0),
        Int(None, u"Add Seconds To Second Dir", K::NonNegative, {}, &S::m_nAddSecondsToSecondDir, 0),
        Text(None, u"Display Columns", nullptr, &S::m_strDisplayColumns),
        Text(None, u"Output Header", nullptr, &S::m_strOutputHeader, u"", K::EscapedText),
        Text(None, u"Output Footer", nullptr, &S::m_strOutputFooter, u"", K::EscapedText),
    };
}

constexpr FieldKind ReadAs(const SettingField &field)
{
    if (field.text)
        return field.type == K::EscapedText ? FieldKind::EscapedText : FieldKind::Text;
    if (field.int32)
        return field.type == K::NonNegative ? FieldKind::NonNegative : FieldKind::Int32;
    if (field.mask)
        return FieldKind::Mask;
    return field.int64 ? FieldKind::Int64 : FieldKind::Date;
}

// The table with its derived columns: a heading row goes before the first
// row of each group.
template <size_t N>
constexpr std::array<SettingField, N> Made(std::array<SettingField, N> fields)
{
    int row = 0;
    G open = G::None;
    for (SettingField &field : fields) {
        field.kind = ReadAs(field);
        if (!field.IsShown())
            continue;
        if (field.group != open && field.group != G::None)
            ++row;
        open = field.group;
        field.catalogueRow = row;
        row += field.RowCount();
    }
    return fields;
}

} // namespace SettingTable

inline constexpr auto kSettingFields = SettingTable::Made(SettingTable::Rows());
constexpr int kSettingFieldCount = int(kSettingFields.size());

inline const std::array<SettingField, kSettingFieldCount> &SettingFields()
{
    return kSettingFields;
}
