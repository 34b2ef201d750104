#include "script/SettingCatalogue.h"

namespace {

constexpr std::array<SettingRow, kCatalogueSize> MakeCatalogue()
{
    std::array<SettingRow, kCatalogueSize> rows{};
    SettingGroup open = SettingGroup::None;
    for (int f = 0; f < kSettingFieldCount; ++f) {
        const SettingField &field = kSettingFields[size_t(f)];
        if (!field.IsShown())
            continue;
        if (field.group != open && field.group != SettingGroup::None) {
            const char16_t *heading = GroupLabel(field.group);
            rows[size_t(field.catalogueRow - 1)] = {heading, heading, SettingKind::Group, 0, field.group, -1, 0};
        }
        open = field.group;
        for (int box = 0; box < field.RowCount(); ++box)
            rows[size_t(field.catalogueRow + box)] = {
                field.key, field.boxes[size_t(box)].label, field.type, field.boxes[size_t(box)].bit, field.group, f,
                box};
    }
    return rows;
}

constexpr std::array<SettingRow, kCatalogueSize> kCatalogue = MakeCatalogue();

const SettingField &OperationField()
{
    for (const SettingField &field : SettingFields())
        if (field.type == SettingKind::Operation)
            return field;
    Q_UNREACHABLE();
}

} // namespace

const std::array<SettingRow, kCatalogueSize> &SettingCatalogue()
{
    return kCatalogue;
}

const QString &PromptedOperationText()
{
    static const QString text = OperationField().Label(1);
    return text;
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
        QStringLiteral("Unsorted"),      QStringLiteral("File Name"), QStringLiteral("File Type"),
        QStringLiteral("File Date"),     QStringLiteral("File Size"), QStringLiteral("File Path"),
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
