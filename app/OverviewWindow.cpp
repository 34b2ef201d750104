#include "app/OverviewWindow.h"

#include "app/EditRecorder.h"
#include "app/OverviewDelegate.h"
#include "app/OverviewFilter.h"
#include "app/OverviewModel.h"
#include "app/SettingItems.h"
#include "app/TreeChecker.h"
#include "framework/FileError.h"
#include "framework/FileSaver.h"
#include "framework/ModalUi.h"
#include "script/SettingFields.h"
#include "script/SettingValueCheck.h"
#include "scripttree/SettingSetter.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

COverviewWindow::COverviewWindow(CTreeOptionsCtrl &tree, CEditRecorder &recorder, CTreeChecker &checker,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_tree(tree)
    , m_recorder(recorder)
    , m_checker(checker)
    , m_model(new COverviewModel(this))
    , m_filter(new COverviewFilter(this))
    , m_table(new QTableView(this))
{
    setWindowTitle(QStringLiteral("Overview"));
    m_filter->setSourceModel(m_model);
    m_table->setModel(m_filter);
    m_table->setAccessibleName(QStringLiteral("Overview"));
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(-1, Qt::AscendingOrder); // run order until the user sorts
    m_table->horizontalHeader()->setSortIndicatorClearable(true);
    m_table->horizontalHeader()->setResizeContentsPrecision(0); // the rows in view
    // The action's name is the row's header, which stays in place while the
    // table scrolls sideways.
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    auto *delegate = new COverviewDelegate(m_table);
    m_table->setItemDelegate(delegate);
    connect(delegate, &COverviewDelegate::Committed, this, &COverviewWindow::Apply);
    connect(m_table, &QAbstractItemView::activated, this, &COverviewWindow::ShowInTree);

    auto *label = new QLabel(QStringLiteral("&Values in effect of every action (bold: set by the action; "
                                            "\u25CF: differs from Default's):"),
                             this);
    label->setBuddy(m_table);
    auto *save = new QPushButton(QStringLiteral("Save &Table As..."), this);
    connect(save, &QPushButton::clicked, this, &COverviewWindow::SaveTableAs);
    // Esc, or the window's own button, closes it.
    auto *escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QAction::triggered, this, &QWidget::close);
    addAction(escape);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(parent ? parent->size().expandedTo(QSize(720, 400)) : QSize(720, 400));

    connect(&m_checker, &CTreeChecker::Checked, this, &COverviewWindow::Refresh);
    Refresh();
}

void COverviewWindow::SetFilterText(const QString &text)
{
    m_filter->SetFilterText(text);
}

void COverviewWindow::Open()
{
    const bool first = !isVisible();
    // Nothing checked yet: checked now. Edited since: the table shows the last
    // check until the next, started at once, arrives.
    if (!m_checker.Latest())
        m_checker.CheckNow();
    else if (!m_checker.IsCurrent())
        m_checker.Hurry();
    show();
    raise();
    activateWindow();
    if (first)
        m_table->resizeColumnsToContents();
    m_table->setFocus();
    if (!m_table->currentIndex().isValid() && m_filter->rowCount() > 0)
        m_table->setCurrentIndex(m_filter->index(0, 0));
}

void COverviewWindow::Refresh()
{
    const std::shared_ptr<const CheckResult> latest = m_checker.Latest();
    m_model->SetDocument(latest, latest ? &latest->document : nullptr);
}

void COverviewWindow::Apply(const QModelIndex &index, const QString &text)
{
    if (!index.isValid())
        return;
    const QModelIndex source = m_filter->mapToSource(index);
    const SettingField &field = m_model->Field(source.column());
    // A list's text in script form: a box's "on" and "off", a radio's buttons.
    QString given = text;
    if (field.type == SettingKind::Check && (text == u"on" || text == u"off"))
        given = text == u"on" ? QStringLiteral("1") : QStringLiteral("0");
    else if (field.type == SettingKind::Radio && (text == field.Label(0) || text == field.Label(1)))
        given = text == field.Label(0) ? QStringLiteral("0") : QStringLiteral("1");
    const CheckedValue checked = CheckSettingValue(field, given);
    if (!checked.ok) {
        ModalUi().ShowMessage(
            QStringLiteral("%1: \"%2\" %3; nothing was changed.").arg(field.Key(), text, checked.error));
        return;
    }
    std::set<int> rows;
    const QModelIndexList selected = m_table->selectionModel()->selectedIndexes();
    if (m_table->selectionModel()->isSelected(index)) {
        for (const QModelIndex &cell : selected)
            if (cell.column() == index.column())
                rows.insert(m_filter->mapToSource(cell).row());
    } else {
        rows.insert(source.row());
    }
    QList<QTreeWidgetItem *> roots;
    for (const int row : rows)
        if (QTreeWidgetItem *root = CSettingItems::FindRoot(m_tree, m_model->ActionName(row)))
            roots << root;
    m_tree.CommitAndEndEdit();
    m_recorder.ChangeRoots(roots, [&] {
        CSettingSetter setter(m_tree);
        for (QTreeWidgetItem *root : roots)
            setter.Set(root, field, checked.value);
    });
}

void COverviewWindow::ShowInTree(const QModelIndex &index)
{
    const QModelIndex source = m_filter->mapToSource(index);
    if (!source.isValid())
        return;
    QTreeWidgetItem *item =
        CSettingItems::Find(m_tree, m_model->ActionName(source.row()), m_model->Field(source.column()).Key());
    if (!item)
        return;
    m_tree.setCurrentItem(item);
    m_tree.scrollToItem(item);
    QWidget *editor = m_tree.window();
    editor->raise();
    editor->activateWindow();
    m_tree.setFocus();
}

void COverviewWindow::SaveTableAs()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save Table As");
    request.filter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||");
    request.initialFile = QStringLiteral("overview.csv");
    request.overwritePrompt = true;
    const std::optional<QString> path = ModalUi().ChooseFile(request);
    if (!path || path->isEmpty())
        return;
    CFileSaver saver;
    if (!saver.Save(*path, m_model->Csv()))
        ReportFileError(QStringLiteral("write"), *path, saver.Cause());
}
