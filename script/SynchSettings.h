#pragma once
// The typed settings of one synchronisation action. The table of settings
// (SettingFields.h) names the member of each key and its built-in default.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

class CScriptFile;
class ISectionTreeBuilder;
struct LoadOptions;

class CSynchSettings
{
public:
    // Every setting at its built-in default.
    CSynchSettings();
    CSynchSettings(const CSynchSettings &other);
    // Copies every setting of the table of settings (SettingFields.h), which
    // names every field but m_arrAtLines; m_arrAtLines keeps its own contents.
    CSynchSettings &operator=(const CSynchSettings &other);

    // TRUE when every setting of the same table equals (texts exactly,
    // numbers in full); m_arrAtLines is not compared.
    bool IsEqual(const CSynchSettings &other) const;

    // Reads the keys of the section `name` of `file` over this record, in the
    // order of the table of settings; a missing section or key leaves the
    // value as it was. With a builder, each key found is handed to it after
    // it was read. Invalid dates are reported unless `options` says otherwise.
    void LoadSection(const QString &name, const CScriptFile &file, ISectionTreeBuilder *builder,
                     const LoadOptions &options);

    QString m_strMask;
    QString m_strPath1;
    QString m_strPath2;
    QString m_strOutputFile;
    qint32 m_bSearchSubdir;
    qint32 m_bShowDifferent;
    qint32 m_bShowIdentical;
    qint32 m_bShowFilesIn1Dir;
    qint32 m_bUseOSOperations;
    qint32 m_bMatchInSubdir;
    qint32 m_nOperation;
    qint32 m_bConfirmUpdates;
    qint32 m_bNewerOverwrite;
    qint32 m_bOlderOverwrite;
    qint32 m_nCheckSameSizeFiles;
    qint32 m_bGroupFiles;
    qint32 m_nTimeCheckPrecision;
    qint32 m_nAddSecondsToSecondDir;
    qint32 m_bCaseSensitive;
    quint64 m_nMinDate; // FILETIME, 0: no limit
    quint64 m_nMaxDate;
    qint64 m_nMinSize;
    qint64 m_nMaxSize;
    quint32 m_nSkipFilesMask; // attribute bits 0x01, 0x02, 0x04, 0x10, 0x20
    qint32 m_bReverseFilters;
    quint32 m_nIgnoreAttributes;
    qint32 m_nSortCompare;
    qint32 m_bSortAscending;
    qint32 m_bAlwaysShowArchives;
    QString m_strDisplayColumns;
    QString m_strOutputColumns;
    QString m_strOutputHeader;
    QString m_strOutputFooter;
    qint32 m_bAppendToOutputFile;
    qint32 m_bIgnoreWhitespace;
    qint32 m_bIgnoreCase;
    qint32 m_bShowProgress;
    qint32 m_bDisplayErrorMessages;
    QStringList m_arrAtLines; // the section's "@=" lines
    QString m_strCustomMessage;
    qint32 m_bAllowCancel;
    QString m_strBitmapFile;

private:
    struct BuiltInTag
    {
    };
    explicit CSynchSettings(BuiltInTag);
    static const CSynchSettings &BuiltIn();
};
