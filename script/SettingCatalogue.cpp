#include "script/SettingCatalogue.h"

using K = SettingKind;

const std::array<SettingRow, kCatalogueSize> &SettingCatalogue()
{
    static constexpr std::array<SettingRow, kCatalogueSize> rows{{
        {u"Path1", u"Source Path: ", K::Text, 0},
        {u"Path2", u"Target Path: ", K::Text, 0},
        {u"Mask", u"File Mask: ", K::Text, 0},
        {u"Search_subdir", u"Include Subdirectories", K::Check, 0},
        {u"Operation", u"Operation: ", K::Operation, 0},
        {u"Synchronization", u"Synchronization", K::Group, 0},
        {u"Check Same Size Files", u"Compare Date/Time", K::Radio, 0},
        {u"Check Same Size Files", u"Binary Compare Files", K::Radio, 0},
        {u"Ignore Whitespace Compare", u"Ignore Whitespace when comparing files", K::Check, 0},
        {u"Ignore Case Compare", u"Ignore Case when comparing files", K::Check, 0},
        {u"Confirm Updates", u"Confirm Updates", K::Check, 0},
        {u"Group Files", u"Group Related Files for display", K::Check, 0},
        {u"Case Sensitive", u"Case Sensitive check for file names", K::Check, 0},
        {u"Match In Subdir", u"Match Duplicates", K::Check, 0},
        {u"Older Overwrite", u"Overwrite Older Files", K::Check, 0},
        {u"Newer Overwrite", u"Overwrite Newer Files", K::Check, 0},
        {u"Use OS Operations", u"Use Native File Operations", K::Check, 0},
        {u"Time Check Precision", u"Time Check Precision: ", K::Number, 0},
        {u"Output", u"Output", K::Group, 0},
        {u"Always Show Archives in 1 Dir View", u"Always Show Archives", K::Check, 0},
        {u"Show Identical", u"Show Identical Files", K::Check, 0},
        {u"Show Different", u"Show Different Files", K::Check, 0},
        {u"Show Files in 1 Dir", u"Show Files in 1 Directory", K::Check, 0},
        {u"Sort Compare", u"Sort By: ", K::Sort, 0},
        {u"Sort Type", u"Sort Ascending", K::Check, 0},
        {u"Output File", u"Produce Output File: ", K::Text, 0},
        {u"Append to Output File", u"Append to output file", K::Check, 0},
        {u"Output Columns", u"Output Columns: ", K::Text, 0},
        {u"Show progress", u"Show Progress", K::Check, 0},
        {u"Display Error Messages", u"Display Error Messages", K::Check, 0},
        {u"Custom Message", u"Custom Message: ", K::Text, 0},
        {u"Allow Cancel", u"Allow Cancel", K::Check, 0},
        {u"Bitmap File", u"Bitmap File: ", K::Text, 0},
        {u"Filters", u"Filters", K::Group, 0},
        {u"Min Date Filter", u"Exclude Files Before Date: ", K::Date, 0},
        {u"Max Date Filter", u"Exclude Files After Date: ", K::Date, 0},
        {u"Min Size Filter", u"Exclude Files Smaller Than (bytes): ", K::Number64, 0},
        {u"Max Size Filter", u"Exclude Files Larger Than (bytes): ", K::Number64, 0},
        {u"Skip Files Mask", u"Exclude Read-Only Files", K::Bit, 0x01},
        {u"Skip Files Mask", u"Exclude Hidden Files", K::Bit, 0x02},
        {u"Skip Files Mask", u"Exclude Directories", K::Bit, 0x10},
        {u"Skip Files Mask", u"Exclude Archive Files", K::Bit, 0x20},
        {u"Skip Files Mask", u"Exclude System Files", K::Bit, 0x04},
        {u"Ignore Attributes", u"Ignore Read-Only Files", K::Bit, 0x01},
        {u"Ignore Attributes", u"Ignore Hidden Files", K::Bit, 0x02},
        {u"Ignore Attributes", u"Ignore Directories", K::Bit, 0x10},
        {u"Ignore Attributes", u"Ignore Archive Files", K::Bit, 0x20},
        {u"Ignore Attributes", u"Ignore System Files", K::Bit, 0x04},
        {u"Reverse Filters", u"Reverse Filters", K::Check, 0},
    }};
    return rows;
}

void BuildSettingCatalogue(QStringList &keys, QStringList &labels)
{
    keys.clear();
    labels.clear();
    keys.reserve(kCatalogueSize);
    labels.reserve(kCatalogueSize);
    for (const SettingRow &row : SettingCatalogue()) {
        keys << QString::fromUtf16(row.key);
        labels << QString::fromUtf16(row.label);
    }
}

const QStringList &OperationTexts()
{
    static const QStringList texts{
        QStringLiteral("Synchronize Both (update & add new files both directions)"),
        QStringLiteral("Augment Target (add only new files to destination)"),
        QStringLiteral("Refresh Target (update only existing files in target)"),
        QStringLiteral("Update Target (update & add new files to target)"),
        QStringLiteral("Update & Prune Target (update, add new & remove orphans from target)"),
        QStringLiteral("Remove Duplicates from Target (remove identical files found on target)"),
        QStringLiteral("Produce Compare Report"),
        QStringLiteral("Recreate Directory Structure Only (create directories on target)"),
        QStringLiteral("Delete all Empty Directories (from the target)"),
        QStringLiteral("Always Prompt"),
    };
    return texts;
}

const QStringList &SortTexts()
{
    static const QStringList texts{
        QStringLiteral("Unsorted"),  QStringLiteral("File Name"), QStringLiteral("File Type"),
        QStringLiteral("File Date"), QStringLiteral("File Size"), QStringLiteral("File Path"),
        QStringLiteral("File Checksum"), QStringLiteral("CRC32"),
    };
    return texts;
}

int OperationFromText(const QString &text)
{
    // Codes 0 to 8 are the list positions; "Always Prompt" and any other text give -1.
    const QStringList &texts = OperationTexts();
    for (int code = 0; code <= 8; ++code)
        if (text == texts[code])
            return code;
    return -1;
}

int SortFromText(const QString &text)
{
    const QStringList &texts = SortTexts();
    for (int position = 1; position < texts.size(); ++position)
        if (text == texts[position])
            return position - 1;
    return -1;
}

QString OperationNameForCode(int storedValue)
{
    if (storedValue >= 0 && storedValue <= 8)
        return OperationTexts()[storedValue];
    if (storedValue == -1)
        return OperationTexts()[9];
    if (storedValue >= -10 && storedValue <= -2)
        return OperationTexts()[-storedValue - 2];
    return {};
}

QString SortNameForCode(int code)
{
    if (code >= -1 && code <= 6)
        return SortTexts()[code + 1];
    return {};
}
