#include "app/ProblemsPane.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

CProblemsPane::CProblemsPane(QWidget *parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_list(new QTreeWidget(this))
{
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Problem"), QStringLiteral("Section")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_caption->setBuddy(m_list);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_caption);
    layout->addWidget(m_list, 1);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { Activate(m_list->indexOfTopLevelItem(item)); });
}

void CProblemsPane::SetProblems(const std::vector<CheckProblem> &problems)
{
    const int previous = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    m_problems = problems;
    int errors = 0;
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(problems.size()));
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const CheckProblem &problem : problems) {
        const bool error = problem.severity == CheckSeverity::Error;
        errors += error ? 1 : 0;
        auto *item = new QTreeWidgetItem({problem.message, problem.section});
        item->setIcon(0, error ? errorIcon : warningIcon);
        item->setToolTip(0, QStringLiteral("%1: %2 [%3]").arg(SeverityName(problem.severity), problem.message, problem.rule));
        items << item;
    }
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    m_list->addTopLevelItems(items);
    if (previous >= 0 && previous < m_list->topLevelItemCount())
        m_list->setCurrentItem(m_list->topLevelItem(previous), 0, QItemSelectionModel::NoUpdate);
    m_list->setUpdatesEnabled(true);
    const int warnings = Count() - errors;
    m_caption->setText(QStringLiteral("Problems: %1 error%2, %3 warning%4 (F8: next)")
                           .arg(errors).arg(errors == 1 ? "" : "s").arg(warnings).arg(warnings == 1 ? "" : "s"));
}

void CProblemsPane::Step(int direction)
{
    if (m_problems.empty())
        return;
    const int count = Count();
    const int current = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    const int next = current < 0 ? (direction > 0 ? 0 : count - 1) : (current + direction + count) % count;
    m_list->setCurrentItem(m_list->topLevelItem(next));
    Activate(next);
}

void CProblemsPane::Activate(int row)
{
    if (row >= 0 && row < Count())
        emit ProblemActivated(m_problems[size_t(row)]);
}
