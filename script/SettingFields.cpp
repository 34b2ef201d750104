#include "script/SettingFields.h"

#include "script/SynchSettings.h"

namespace {

using S = CSynchSettings;
using K = FieldKind;

SettingField Text(const char16_t *key, int row, QString S::*member, K kind = K::Text)
{
    SettingField f{key, kind, row};
    f.text = member;
    return f;
}

SettingField Int(const char16_t *key, int row, qint32 S::*member, K kind = K::Int32)
{
    SettingField f{key, kind, row};
    f.int32 = member;
    return f;
}

SettingField Mask(const char16_t *key, int row, quint32 S::*member)
{
    SettingField f{key, K::Mask, row};
    f.mask = member;
    return f;
}

SettingField Int64(const char16_t *key, int row, qint64 S::*member)
{
    SettingField f{key, K::Int64, row};
    f.int64 = member;
    return f;
}

SettingField Date(const char16_t *key, int row, quint64 S::*member)
{
    SettingField f{key, K::Date, row};
    f.date = member;
    return f;
}

} // namespace

const std::array<SettingField, kSettingFieldCount> &SettingFields()
{
    static const std::array<SettingField, kSettingFieldCount> fields{{
        Text(u"Path1", 0, &S::m_strPath1),
        Text(u"Path2", 1, &S::m_strPath2),
        Text(u"Mask", 2, &S::m_strMask),
        Int(u"Search_subdir", 3, &S::m_bSearchSubdir),
        Int(u"Operation", 4, &S::m_nOperation),
        Int(u"Check Same Size Files", 6, &S::m_nCheckSameSizeFiles),
        Int(u"Ignore Whitespace Compare", 8, &S::m_bIgnoreWhitespace),
        Int(u"Ignore Case Compare", 9, &S::m_bIgnoreCase),
        Int(u"Confirm Updates", 10, &S::m_bConfirmUpdates),
        Int(u"Group Files", 11, &S::m_bGroupFiles),
        Int(u"Case Sensitive", 12, &S::m_bCaseSensitive),
        Int(u"Match In Subdir", 13, &S::m_bMatchInSubdir),
        Int(u"Older Overwrite", 14, &S::m_bOlderOverwrite),
        Int(u"Newer Overwrite", 15, &S::m_bNewerOverwrite),
        Int(u"Use OS Operations", 16, &S::m_bUseOSOperations),
        Int(u"Time Check Precision", 17, &S::m_nTimeCheckPrecision),
        Int(u"Always Show Archives in 1 Dir View", 19, &S::m_bAlwaysShowArchives),
        Int(u"Show Identical", 20, &S::m_bShowIdentical),
        Int(u"Show Different", 21, &S::m_bShowDifferent),
        Int(u"Show Files in 1 Dir", 22, &S::m_bShowFilesIn1Dir),
        Int(u"Sort Compare", 23, &S::m_nSortCompare),
        Int(u"Sort Type", 24, &S::m_bSortAscending),
        Text(u"Output File", 25, &S::m_strOutputFile),
        Int(u"Append to Output File", 26, &S::m_bAppendToOutputFile),
        Text(u"Output Columns", 27, &S::m_strOutputColumns),
        Int(u"Show progress", 28, &S::m_bShowProgress),
        Int(u"Display Error Messages", 29, &S::m_bDisplayErrorMessages),
        Text(u"Custom Message", 30, &S::m_strCustomMessage),
        Int(u"Allow Cancel", 31, &S::m_bAllowCancel),
        Text(u"Bitmap File", 32, &S::m_strBitmapFile),
        Date(u"Min Date Filter", 34, &S::m_nMinDate),
        Date(u"Max Date Filter", 35, &S::m_nMaxDate),
        Int64(u"Min Size Filter", 36, &S::m_nMinSize),
        Int64(u"Max Size Filter", 37, &S::m_nMaxSize),
        Mask(u"Skip Files Mask", 38, &S::m_nSkipFilesMask),
        Mask(u"Ignore Attributes", 43, &S::m_nIgnoreAttributes),
        Int(u"Reverse Filters", 48, &S::m_bReverseFilters),
        Int(u"Add Seconds To Second Dir", -1, &S::m_nAddSecondsToSecondDir, K::NonNegative),
        Text(u"Display Columns", -1, &S::m_strDisplayColumns),
        Text(u"Output Header", -1, &S::m_strOutputHeader, K::EscapedText),
        Text(u"Output Footer", -1, &S::m_strOutputFooter, K::EscapedText),
    }};
    return fields;
}

QString SettingField::ValueText(const CSynchSettings &record) const
{
    if (text)
        return record.*text;
    if (int32)
        return QString::number(record.*int32);
    if (mask)
        return QString::number(record.*mask);
    if (int64)
        return QString::number(record.*int64);
    return QString::number(record.*date);
}

bool SettingField::Equal(const CSynchSettings &a, const CSynchSettings &b) const
{
    if (text)
        return a.*text == b.*text;
    if (int32)
        return a.*int32 == b.*int32;
    if (mask)
        return a.*mask == b.*mask;
    if (int64)
        return a.*int64 == b.*int64;
    return a.*date == b.*date;
}

void SettingField::Copy(CSynchSettings &to, const CSynchSettings &from) const
{
    if (text)
        to.*text = from.*text;
    else if (int32)
        to.*int32 = from.*int32;
    else if (mask)
        to.*mask = from.*mask;
    else if (int64)
        to.*int64 = from.*int64;
    else
        to.*date = from.*date;
}
