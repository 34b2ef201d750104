#pragma once
// The problems as a list model (icon and message, section, setting): a new list of
// problems is one reset, whatever its length, so a big script's thousands of
// problems cost nothing until they are scrolled into view.

#include "script/check/CheckProblem.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

class CProblemsModel : public QAbstractTableModel
{
public:
    explicit CProblemsModel(QObject *parent = nullptr);

    void SetProblems(std::vector<CheckProblem> problems);
    const CheckProblem &Problem(int row) const { return m_problems[size_t(row)]; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<CheckProblem> m_problems;
    QIcon m_errorIcon;
    QIcon m_warningIcon;
};
