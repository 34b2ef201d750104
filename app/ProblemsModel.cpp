#include "app/ProblemsModel.h"

#include <QApplication>
#include <QStyle>

CProblemsModel::CProblemsModel(QObject *parent)
    : QAbstractTableModel(parent),
      m_errorIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical)),
      m_warningIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
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

int CProblemsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 2; }

QVariant CProblemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CheckProblem &problem = Problem(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? problem.message : problem.section;
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
    return section == 0 ? QStringLiteral("Problem") : QStringLiteral("Section");
}
