#include "app/ProblemsPane.h"

#include "app/PaneLayout.h"
#include "app/ProblemsModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeView>

CProblemsPane::CProblemsPane(QWidget *parent)
    : QWidget(parent)
    , m_model(new CProblemsModel(this))
    , m_caption(new QLabel(this))
    , m_list(new QTreeView(this))
{
    m_list->setModel(m_model);
    m_list->setAccessibleName(QStringLiteral("Problems"));
    LayOutPane(*this, *m_caption, *m_list);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex &index) { Activate(index.row()); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &CProblemsPane::ShowMenu);
}

int CProblemsPane::Count() const
{
    return m_model->rowCount();
}

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
                           .arg(errors)
                           .arg(errors == 1 ? "" : "s")
                           .arg(warnings)
                           .arg(warnings == 1 ? "" : "s"));
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

void CProblemsPane::ShowMenu(const QPoint &pos)
{
    // The menu key opens it on the current entry, a click on the entry under the pointer.
    const QModelIndex at = m_list->indexAt(pos);
    const int row = at.isValid() ? at.row() : CurrentRow();
    if (row < 0 || row >= Count())
        return;
    const CheckProblem problem = m_model->Problem(row);
    QMenu menu(this);
    QAction *action = menu.addAction(QStringLiteral("Ignore in This &Action"));
    action->setEnabled(!problem.section.isEmpty() && (!m_sectionShown || m_sectionShown(problem.section)));
    QAction *script = menu.addAction(QStringLiteral("Ignore in This &Script"));
    const QPoint where = at.isValid() ? pos : m_list->visualRect(m_model->index(row, 0)).center();
    QAction *chosen = menu.exec(m_list->viewport()->mapToGlobal(where));
    if (chosen == action || chosen == script)
        emit IgnoreRequested(problem, chosen == script);
}
