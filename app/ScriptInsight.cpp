#include "app/ScriptInsight.h"

#include "app/EditRecorder.h"
#include "app/EffectiveValueText.h"
#include "app/ProblemsPane.h"
#include "app/SettingItems.h"
#include "app/ValuesPane.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "script/check/CheckRules.h"
#include "scripttree/ScriptTreeRoles.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QHeaderView>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>

CScriptInsight::CScriptInsight(CTreeOptionsCtrl &tree, std::function<const CSynchArray &()> document,
                               CEditRecorder &recorder, QWidget *dialog)
    : QObject(dialog)
    , m_tree(tree)
    , m_document(document)
    , m_recorder(recorder)
    , m_checker(tree, std::move(document), this)
    , m_vertical(new QSplitter(Qt::Vertical, dialog))
    , m_horizontal(new QSplitter(Qt::Horizontal, m_vertical))
    , m_problems(new CProblemsPane(m_vertical))
    , m_values(new CValuesPane(m_horizontal))
    , m_btnProblems(new QPushButton(QStringLiteral("&Problems"), dialog))
    , m_btnValues(new QPushButton(QStringLiteral("Values in &Effect"), dialog))
{
    m_horizontal->insertWidget(0, &tree);
    m_horizontal->setStretchFactor(0, 1);
    m_horizontal->setStretchFactor(1, 1);
    m_horizontal->setChildrenCollapsible(false);
    m_vertical->setStretchFactor(0, 3);
    m_vertical->setStretchFactor(1, 1);
    m_vertical->setChildrenCollapsible(false);
    m_problems->hide();
    m_values->hide();
    m_btnProblems->setCheckable(true);
    m_btnValues->setCheckable(true);
    m_btnProblems->setAutoDefault(false);
    m_btnValues->setAutoDefault(false);

    // Every change of the tree, whatever made it, is a change of the script.
    QAbstractItemModel *model = tree.model();
    auto schedule = [this] { m_checker.Schedule(); };
    connect(model, &QAbstractItemModel::dataChanged, this, schedule);
    connect(model, &QAbstractItemModel::rowsInserted, this, schedule);
    connect(model, &QAbstractItemModel::rowsRemoved, this, schedule);
    connect(model, &QAbstractItemModel::rowsMoved, this, schedule);
    connect(model, &QAbstractItemModel::modelReset, this, schedule);
    connect(&m_checker, &CTreeChecker::Checked, this, &CScriptInsight::OnChecked);
    connect(&tree, &QTreeWidget::currentItemChanged, this, &CScriptInsight::OnCurrentChanged);
    connect(m_problems, &CProblemsPane::ProblemActivated, this, &CScriptInsight::SelectProblem);
    connect(m_problems, &CProblemsPane::IgnoreRequested, this, &CScriptInsight::Ignore);
    m_problems->SetSectionShown([this](const QString &section) { return CSettingItems::FindRoot(m_tree, section); });
    connect(m_btnProblems, &QPushButton::clicked, this, &CScriptInsight::ToggleProblems);
    connect(m_btnValues, &QPushButton::clicked, this, &CScriptInsight::ToggleValues);
    auto *next = new QShortcut(QKeySequence(Qt::Key_F8), dialog);
    connect(next, &QShortcut::activated, this, [this] { StepProblem(1); });
    auto *previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), dialog);
    connect(previous, &QShortcut::activated, this, [this] { StepProblem(-1); });
    m_checker.Schedule();
}

QWidget *CScriptInsight::Area() const
{
    return m_vertical;
}

void CScriptInsight::OnChecked()
{
    const auto result = m_checker.Latest();
    m_problems->SetProblems(result->problems);
    if (result->problems.empty())
        m_bProblemsHidden = false;
    OnCurrentChanged();
}

void CScriptInsight::OnCurrentChanged()
{
    const auto result = m_checker.Latest();
    QTreeWidgetItem *root = CSettingItems::RootOf(m_tree.currentItem());
    if (!result || !root)
        m_values->SetValues(QString(), {});
    else
        m_values->SetValues(root->text(0), ValuesInEffect(result->document, root->text(0)));
    if (m_values->Section().isEmpty())
        m_bValuesHidden = false;
    UpdateVisibility();
}

void CScriptInsight::UpdateVisibility()
{
    const bool problems = m_problems->Count() > 0 && !m_bProblemsHidden;
    const bool values = !m_values->Section().isEmpty() && !m_bValuesHidden;
    m_problems->setVisible(problems);
    m_values->setVisible(values);
    m_btnProblems->setChecked(problems);
    m_btnValues->setChecked(values);
}

void CScriptInsight::ToggleProblems()
{
    m_bProblemsHidden = m_problems->isVisible();
    if (!m_bProblemsHidden && m_problems->Count() == 0) {
        // Nothing to show: say so rather than open an empty list.
        QToolTip::showText(m_btnProblems->mapToGlobal(QPoint(0, 0)), QStringLiteral("No problems"), m_btnProblems);
    }
    UpdateVisibility();
    // Showing a pane leads the keyboard into it; hiding it leads back to the tree.
    if (m_problems->isVisible())
        m_problems->List().setFocus();
    else
        m_tree.setFocus();
}

void CScriptInsight::ToggleValues()
{
    m_bValuesHidden = m_values->isVisible();
    UpdateVisibility();
    if (m_values->isVisible())
        m_values->List().setFocus();
    else
        m_tree.setFocus();
}

void CScriptInsight::StepProblem(int direction)
{
    m_tree.CommitAndEndEdit();
    if (m_bProblemsHidden) {
        m_bProblemsHidden = false;
        UpdateVisibility();
    }
    m_problems->Step(direction);
}

void CScriptInsight::SelectProblem(const CheckProblem &problem)
{
    QTreeWidgetItem *item = CSettingItems::Find(m_tree, problem.section, problem.key);
    if (!item)
        return;
    for (QTreeWidgetItem *parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    m_tree.setCurrentItem(item);
    m_tree.scrollToItem(item);
}

void CScriptInsight::Ignore(const CheckProblem &problem, bool wholeScript)
{
    m_tree.CommitAndEndEdit();
    const QString line = IgnoreLine(problem.rule);
    if (wholeScript) {
        QTreeWidgetItem *top = m_tree.invisibleRootItem();
        const QVariant held = top->data(0, kScriptLinesRole);
        QStringList lines;
        if (held.isValid()) {
            lines = held.toStringList();
        } else {
            const CScriptFile &file = m_document().m_ScriptFile;
            for (qsizetype i = 0; i < file.GetPreambleCount(); ++i)
                lines << file.GetPreambleLine(i).toString();
        }
        lines << line;
        m_recorder.SetData(top, kScriptLinesRole, lines);
        return;
    }
    QTreeWidgetItem *root = CSettingItems::FindRoot(m_tree, problem.section);
    if (!root)
        return;
    CRootLines lines = RootLinesOf(root);
    lines.keptLines << line;
    m_recorder.SetData(root, kRootLinesRole, QVariant::fromValue(lines));
}

QString CScriptInsight::ValueInEffectText(const QTreeWidgetItem *item) const
{
    const SettingField *field = CSettingItems::FieldOf(item);
    const auto result = m_checker.Latest();
    const QTreeWidgetItem *root = item;
    while (root && root->parent())
        root = root->parent();
    if (!field || !result || !root)
        return QString();
    for (const EffectiveValue &value : ValuesInEffect(result->document, root->text(0)))
        if (value.field == field)
            return CEffectiveValueText::Text(value);
    return QString();
}

void CScriptInsight::SaveLayout(QSettings &settings) const
{
    // A splitter's sizes mean something only while its pane shows.
    auto sizes = [](const QSplitter &splitter) {
        QVariantList list;
        for (int size : splitter.sizes())
            list << size;
        return list;
    };
    if (m_problems->isVisible())
        settings.setValue(QStringLiteral("window/problemsSplitter"), sizes(*m_vertical));
    if (m_values->isVisible())
        settings.setValue(QStringLiteral("window/valuesSplitter"), sizes(*m_horizontal));
    settings.setValue(QStringLiteral("window/problemsColumns"), m_problems->List().header()->saveState());
    settings.setValue(QStringLiteral("window/valuesColumns"), m_values->List().header()->saveState());
}

void CScriptInsight::RestoreLayout(const QSettings &settings, int firstTreeWidth)
{
    auto restore = [&settings](QSplitter &splitter, const QString &key, QList<int> sizes) {
        const QVariantList saved = settings.value(key).toList();
        if (saved.size() == splitter.count()) {
            sizes.clear();
            for (const QVariant &size : saved)
                sizes << size.toInt();
        }
        splitter.setSizes(sizes);
    };
    // A first start gives the values their own width beside the tree's.
    restore(*m_vertical, QStringLiteral("window/problemsSplitter"), m_vertical->sizes());
    restore(*m_horizontal, QStringLiteral("window/valuesSplitter"), {firstTreeWidth, m_values->FirstWidth()});
    m_problems->List().header()->restoreState(settings.value(QStringLiteral("window/problemsColumns")).toByteArray());
    m_values->List().header()->restoreState(settings.value(QStringLiteral("window/valuesColumns")).toByteArray());
}
