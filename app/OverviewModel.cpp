#include "app/OverviewModel.h"

#include "app/EffectiveValueText.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/check/OverviewTable.h"

#include <QFont>

COverviewModel::COverviewModel(QObject *parent) : QAbstractTableModel(parent) {}

void COverviewModel::SetDocument(std::shared_ptr<const void> owner, const CSynchArray *document)
{
    const bool sameRows = m_document && document && m_document->m_arrActionNames == document->m_arrActionNames;
    if (!sameRows)
        beginResetModel();
    m_owner = std::move(owner);
    m_document = document;
    m_rows.assign(size_t(document ? document->GetSize() : 0), std::nullopt);
    if (!sameRows)
        endResetModel();
    else if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const SettingField &COverviewModel::Field(int column) const
{
    return *OverviewFields()[size_t(column)];
}

QString COverviewModel::ActionName(int row) const
{
    return m_document->m_arrActionNames.at(row);
}

const EffectiveValue &COverviewModel::Value(int row, int column) const
{
    std::optional<std::vector<EffectiveValue>> &values = m_rows[size_t(row)];
    if (!values)
        values = OverviewRow(*m_document, row);
    return (*values)[size_t(column)];
}

QByteArray COverviewModel::Csv() const
{
    return m_document ? OverviewCsv(*m_document) : OverviewCsv(CSynchArray());
}

int COverviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_document ? 0 : int(m_document->GetSize());
}

int COverviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(OverviewFields().size());
}

QVariant COverviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const EffectiveValue &value = Value(index.row(), index.column());
    const SettingField &field = *value.field;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return value.overridesDefault ? QStringLiteral("\u25CF ") + value.value : value.value;
    case Qt::EditRole:
        switch (field.type) {
        case SettingKind::Mask:
        case SettingKind::Number:
        case SettingKind::Number64:
            return field.ValueText(*m_document->GetAt(index.row()));
        case SettingKind::Date:
            return value.origin == ValueOrigin::BuiltIn ? QString() : value.value;
        case SettingKind::Operation:
            return value.value.section(u',', 0, 0);
        default:
            return value.value;
        }
    case kSortRole:
        if (field.kind == FieldKind::Int64 || field.type == SettingKind::Number
            || field.type == SettingKind::NonNegative)
            return field.ValueText(*m_document->GetAt(index.row())).toLongLong();
        return value.value;
    case kOriginRole:
        return int(value.origin);
    case kOverridesRole:
        return value.overridesDefault;
    case Qt::FontRole:
        if (value.origin == ValueOrigin::ThisAction) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return CEffectiveValueText::Text(value);
    default:
        return {};
    }
}

QVariant COverviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && m_document && section < rowCount())
            return ActionName(section);
        return {};
    }
    if (section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return Field(section).Key();
    if (role == Qt::ToolTipRole) {
        QString label = Field(section).Label();
        if (label.endsWith(QLatin1String(": ")))
            label.chop(2);
        return label;
    }
    return {};
}

Qt::ItemFlags COverviewModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsEditable : Qt::NoItemFlags);
}
