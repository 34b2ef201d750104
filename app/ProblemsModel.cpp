#include "app/ProblemsModel.h"

#include "script/SettingCatalogue.h"

#include <QApplication>
#include <QStyle>

namespace {

// How the tree names the setting of `key`: its label, or the key itself for
// settings the tree shows as a group of boxes or radio buttons, or not at all.
QString SettingName(const QString &key)
{
    for (const SettingRow &row : SettingCatalogue()) {
        if (key.compare(QStringView(row.key), Qt::CaseInsensitive) != 0)
            continue;
        if (row.kind == SettingKind::Mask || row.kind == SettingKind::Radio || row.kind == SettingKind::Group)
            break;
        QString label = QString::fromUtf16(row.label);
        if (label.endsWith(ValueSeparator()))
            label.chop(ValueSeparator().size());
        return label;
    }
    return key;
}

} // namespace

CProblemsModel::CProblemsModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_errorIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical))
    , m_warningIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{
}

void CProblemsModel::SetProblems(std::vector<CheckProblem> problems)
{
    beginResetModel();
    m_problems = std::move(problems);
    endResetModel();
}

int CProblemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_problems.size());
}

int CProblemsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant CProblemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CheckProblem &problem = Problem(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? problem.message : index.column() == 1 ? problem.section : SettingName(problem.key);
    case Qt::DecorationRole:
        if (index.column() == 0)
            return problem.severity == CheckSeverity::Error ? m_errorIcon : m_warningIcon;
        break;
    case Qt::AccessibleTextRole:
        // The icon's meaning, for those who cannot see it.
        if (index.column() == 0)
            return QStringLiteral("%1: %2").arg(problem.severity == CheckSeverity::Error ? QStringLiteral("Error")
                                                                                         : QStringLiteral("Warning"),
                                                problem.message);
        break;
    case Qt::ToolTipRole:
        return QStringLiteral("%1: %2 [%3]").arg(SeverityName(problem.severity), problem.message, problem.rule);
    default:
        break;
    }
    return {};
}

QVariant CProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0   ? QStringLiteral("Problem")
           : section == 1 ? QStringLiteral("Section")
                          : QStringLiteral("Setting");
}
