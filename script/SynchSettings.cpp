#include "script/SynchSettings.h"

#include "framework/ModalUi.h"
#include "script/DateValue.h"
#include "script/LoadOptions.h"
#include "script/ScriptFile.h"
#include "script/SectionTreeBuilder.h"
#include "script/SettingFields.h"
#include "script/TextEscapes.h"
#include "script/WideNumbers.h"

#include <QDir>

#include <limits>

namespace {

// Swallows the messages of readings that must stay quiet.
class SilentModalUi final : public IModalUi
{
public:
    void ShowMessage(const QString &) override {}
    bool AskYesNo(const QString &) override { return false; }
    std::optional<QString> ChooseFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<QString> ChooseFolder(const QString &, const QString &) override { return std::nullopt; }
    std::optional<COLORREF> ChooseColour(COLORREF) override { return std::nullopt; }
    std::optional<CLogFont> ChooseFont(const CLogFont &) override { return std::nullopt; }
};

QString DateContext(const CScriptFile &file, const QString &section, const SettingField &field,
                    const QString &text)
{
    return QStringLiteral("\"%1\", section \"%2\", key \"%3\", value \"%4\"")
        .arg(QDir::toNativeSeparators(file.m_strPath), section, field.Key(), text);
}

} // namespace

CSynchSettings::CSynchSettings()
    : m_strMask(QStringLiteral("*.*")),
      m_bSearchSubdir(1),
      m_bShowDifferent(1),
      m_bShowIdentical(1),
      m_bShowFilesIn1Dir(1),
      m_bUseOSOperations(0),
      m_bMatchInSubdir(0),
      m_nOperation(-1),
      m_bConfirmUpdates(1),
      m_bNewerOverwrite(0),
      m_bOlderOverwrite(1),
      m_nCheckSameSizeFiles(0),
      m_bGroupFiles(0),
      m_nTimeCheckPrecision(3),
      m_nAddSecondsToSecondDir(0),
      m_bCaseSensitive(0),
      m_nMinDate(0),
      m_nMaxDate(0),
      m_nMinSize(0),
      m_nMaxSize(0),
      m_nSkipFilesMask(0),
      m_bReverseFilters(0),
      m_nIgnoreAttributes(0x37),
      m_nSortCompare(-1),
      m_bSortAscending(1),
      m_bAlwaysShowArchives(1),
      m_bAppendToOutputFile(0),
      m_bIgnoreWhitespace(0),
      m_bIgnoreCase(0),
      m_bShowProgress(1),
      m_bDisplayErrorMessages(0),
      m_bAllowCancel(1)
{
}

CSynchSettings::CSynchSettings(const CSynchSettings &other) = default;

CSynchSettings &CSynchSettings::operator=(const CSynchSettings &other)
{
    if (this == &other)
        return *this;
    m_strMask = other.m_strMask;
    m_strPath1 = other.m_strPath1;
    m_strPath2 = other.m_strPath2;
    m_strOutputFile = other.m_strOutputFile;
    m_bSearchSubdir = other.m_bSearchSubdir;
    m_bShowDifferent = other.m_bShowDifferent;
    m_bShowIdentical = other.m_bShowIdentical;
    m_bShowFilesIn1Dir = other.m_bShowFilesIn1Dir;
    m_bUseOSOperations = other.m_bUseOSOperations;
    m_bMatchInSubdir = other.m_bMatchInSubdir;
    m_nOperation = other.m_nOperation;
    m_bConfirmUpdates = other.m_bConfirmUpdates;
    m_bNewerOverwrite = other.m_bNewerOverwrite;
    m_bOlderOverwrite = other.m_bOlderOverwrite;
    m_nCheckSameSizeFiles = other.m_nCheckSameSizeFiles;
    m_bGroupFiles = other.m_bGroupFiles;
    m_nTimeCheckPrecision = other.m_nTimeCheckPrecision;
    m_nAddSecondsToSecondDir = other.m_nAddSecondsToSecondDir;
    m_bCaseSensitive = other.m_bCaseSensitive;
    m_nMinDate = other.m_nMinDate;
    m_nMaxDate = other.m_nMaxDate;
    m_nMinSize = other.m_nMinSize;
    m_nMaxSize = other.m_nMaxSize;
    m_nSkipFilesMask = other.m_nSkipFilesMask;
    m_bReverseFilters = other.m_bReverseFilters;
    m_nIgnoreAttributes = other.m_nIgnoreAttributes;
    m_nSortCompare = other.m_nSortCompare;
    m_bSortAscending = other.m_bSortAscending;
    m_bAlwaysShowArchives = other.m_bAlwaysShowArchives;
    m_strDisplayColumns = other.m_strDisplayColumns;
    m_strOutputColumns = other.m_strOutputColumns;
    m_strOutputHeader = other.m_strOutputHeader;
    m_strOutputFooter = other.m_strOutputFooter;
    m_bAppendToOutputFile = other.m_bAppendToOutputFile;
    m_bIgnoreWhitespace = other.m_bIgnoreWhitespace;
    m_bIgnoreCase = other.m_bIgnoreCase;
    m_bShowProgress = other.m_bShowProgress;
    m_bDisplayErrorMessages = other.m_bDisplayErrorMessages;
    m_strCustomMessage = other.m_strCustomMessage;
    m_bAllowCancel = other.m_bAllowCancel;
    m_strBitmapFile = other.m_strBitmapFile;
    return *this;
}

bool CSynchSettings::IsEqual(const CSynchSettings &o) const
{
    return m_strMask == o.m_strMask && m_strPath1 == o.m_strPath1 && m_strPath2 == o.m_strPath2
        && m_strOutputFile == o.m_strOutputFile && m_bSearchSubdir == o.m_bSearchSubdir
        && m_bShowDifferent == o.m_bShowDifferent && m_bShowIdentical == o.m_bShowIdentical
        && m_bShowFilesIn1Dir == o.m_bShowFilesIn1Dir && m_bUseOSOperations == o.m_bUseOSOperations
        && m_bMatchInSubdir == o.m_bMatchInSubdir && m_nOperation == o.m_nOperation
        && m_bConfirmUpdates == o.m_bConfirmUpdates && m_bNewerOverwrite == o.m_bNewerOverwrite
        && m_bOlderOverwrite == o.m_bOlderOverwrite && m_nCheckSameSizeFiles == o.m_nCheckSameSizeFiles
        && m_bGroupFiles == o.m_bGroupFiles && m_nTimeCheckPrecision == o.m_nTimeCheckPrecision
        && m_nAddSecondsToSecondDir == o.m_nAddSecondsToSecondDir && m_bCaseSensitive == o.m_bCaseSensitive
        && m_nMinDate == o.m_nMinDate && m_nMaxDate == o.m_nMaxDate && m_nMinSize == o.m_nMinSize
        && m_nMaxSize == o.m_nMaxSize && m_nSkipFilesMask == o.m_nSkipFilesMask
        && m_bReverseFilters == o.m_bReverseFilters && m_nIgnoreAttributes == o.m_nIgnoreAttributes
        && m_nSortCompare == o.m_nSortCompare && m_bSortAscending == o.m_bSortAscending
        && m_bAlwaysShowArchives == o.m_bAlwaysShowArchives && m_strDisplayColumns == o.m_strDisplayColumns
        && m_strOutputColumns == o.m_strOutputColumns && m_strOutputHeader == o.m_strOutputHeader
        && m_strOutputFooter == o.m_strOutputFooter && m_bAppendToOutputFile == o.m_bAppendToOutputFile
        && m_bIgnoreWhitespace == o.m_bIgnoreWhitespace && m_bIgnoreCase == o.m_bIgnoreCase
        && m_bShowProgress == o.m_bShowProgress && m_bDisplayErrorMessages == o.m_bDisplayErrorMessages
        && m_strCustomMessage == o.m_strCustomMessage && m_bAllowCancel == o.m_bAllowCancel
        && m_strBitmapFile == o.m_strBitmapFile;
}

void CSynchSettings::LoadSection(const QString &name, const CScriptFile &file, ISectionTreeBuilder *builder,
                                 const LoadOptions &options)
{
    const CSection *section = file.FindSection(name);
    if (section) {
        for (const SettingField &field : SettingFields()) {
            const QStringView key(field.key);
            const qsizetype line = section->FindLine(key);
            if (line < 0)
                continue;
            const QStringView raw = section->ValueOfLine(line);
            switch (field.kind) {
            case FieldKind::Text:
            case FieldKind::EscapedText:
                this->*field.text = raw.toString();
                break;
            case FieldKind::Int32:
            case FieldKind::NonNegative:
                this->*field.int32 = WideToInt32(raw);
                break;
            case FieldKind::Mask:
                this->*field.mask = quint32(WideToInt32(raw));
                break;
            case FieldKind::Int64:
                this->*field.int64 = WideToInt64(raw);
                break;
            case FieldKind::Date:
                if (!raw.isEmpty()) {
                    const QString text = raw.toString();
                    const QString context = DateContext(file, name, field, text);
                    DateFields fields;
                    bool valid = false;
                    if (options.reportInvalidDates) {
                        valid = ValidateDate(fields, text, context);
                    } else {
                        SilentModalUi silent;
                        ScopedModalUi quiet(silent);
                        valid = ValidateDate(fields, text, context);
                    }
                    if (valid)
                        this->*field.date = DateToFileTime(fields, true);
                }
                break;
            }
            if (builder)
                builder->KeyFound(field, *this, raw, line);
        }
    }
    // Found or not: the offset is never negative, and the free texts carry
    // their control characters resolved.
    if (m_nAddSecondsToSecondDir < 0)
        m_nAddSecondsToSecondDir = m_nAddSecondsToSecondDir == std::numeric_limits<qint32>::min()
            ? std::numeric_limits<qint32>::max()
            : -m_nAddSecondsToSecondDir;
    UnescapeControls(m_strOutputHeader);
    UnescapeControls(m_strOutputFooter);
}
