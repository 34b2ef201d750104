#include "app/ProblemsPane.h"

#include "app/PaneLayout.h"
#include "app/ProblemsModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeView>

CProblemsPane::CProblemsPane(QWidget *parent)
    : QWidget(parent), m_model(new CProblemsModel(this)), m_caption(new QLabel(this)), m_list(new QTreeView(this))
{
    m_list->setModel(m_model);
    m_list->setAccessibleName(QStringLiteral("Problems"));
    LayOutPane(*this, *m_caption, *m_list);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex &index) { Activate(index.row()); });
}

int CProblemsPane::Count() const { return m_model->rowCount(); }

int CProblemsPane::CurrentRow() const
{
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CProblemsPane::SetProblems(const std::vector<CheckProblem> &problems)
{
    const int previous = CurrentRow();
    int errors = 0;
    for (const CheckProblem &problem : problems)
        errors += problem.severity == CheckSeverity::Error ? 1 : 0;
    m_model->SetProblems(problems);
    if (previous >= 0 && previous < Count())
        m_list->selectionModel()->setCurrentIndex(m_model->index(previous, 0), QItemSelectionModel::NoUpdate);
    const int warnings = Count() - errors;
    m_caption->setText(QStringLiteral("Problems: %1 error%2, %3 warning%4 (F8: next)")
                           .arg(errors).arg(errors == 1 ? "" : "s").arg(warnings).arg(warnings == 1 ? "" : "s"));
}

void CProblemsPane::Step(int direction)
{
    const int count = Count();
    if (count == 0)
        return;
    const int current = CurrentRow();
    const int next = current < 0 ? (direction > 0 ? 0 : count - 1) : (current + direction + count) % count;
    m_list->setCurrentIndex(m_model->index(next, 0));
    Activate(next);
}

void CProblemsPane::Activate(int row)
{
    if (row >= 0 && row < Count())
        emit ProblemActivated(m_model->Problem(row));
}
