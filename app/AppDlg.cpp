#include "app/AppDlg.h"

#include "app/ActionNamer.h"
#include "app/AppIcon.h"
#include "app/DialogUnits.h"
#include "app/EditorSettings.h"
#include "app/FindBar.h"
#include "app/OverviewWindow.h"
#include "app/ProblemsPane.h"
#include "app/RecentScripts.h"
#include "app/ReplaceDialog.h"
#include "app/ScriptInsight.h"
#include "app/SettingGuide.h"
#include "app/SettingToolTip.h"
#include "app/SplitButton.h"
#include "app/ValuesPane.h"
#include "framework/FileName.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// How each command shows: its button, its entry in the tree's context menu
// (a mnemonic of its own there), its keys.
struct CommandLook
{
    const char *button;
    const char *menu;
    QList<QKeySequence> keys;
};

const CommandLook &LookOf(CAppDlg::Command command)
{
    static const CommandLook looks[CAppDlg::kCommandCount] = {
        {"&Repeat Action", "R&epeat Action", {QKeySequence(Qt::CTRL | Qt::Key_R)}},
        {"&New Action", "&New Action", {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {"&Delete", "&Delete", {QKeySequence::Delete}},
        {"Show &All", "Show &All", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)}},
        // Ctrl+Up and Ctrl+Down would move the tree's current item without
        // selecting it; here they move the selected action.
        {"Move &Up", "Move U&p", {QKeySequence(Qt::CTRL | Qt::Key_Up)}},
        {"Move Do&wn", "Move Do&wn", {QKeySequence(Qt::CTRL | Qt::Key_Down)}},
    };
    return looks[int(command)];
}

// Commands act on what shows selected: a current item whose highlight a
// click on the blank area took away is not. New Action adds at the end then.
bool IsEnabled(CAppDlg::Command command, bool selected, CActionCommands::MoveStates moves)
{
    switch (command) {
    case CAppDlg::Command::NewAction:
        return true;
    case CAppDlg::Command::MoveUp:
        return moves.up;
    case CAppDlg::Command::MoveDown:
        return moves.down;
    default:
        return selected;
    }
}

} // namespace

CAppDlg::CAppDlg(const QString &scriptPath, QWidget *parent)
    : QDialog(parent)
    , m_tree(new CTreeOptionsCtrl(this))
    , m_commands(*m_tree)
    , m_history(*m_tree)
    , m_recorder(*m_tree, m_history)
    , m_help(QCoreApplication::applicationDirPath(), this)
    , m_script(*m_tree, m_commands, m_history)
{
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    setAcceptDrops(true);
    BuildControls();
    BuildActions();
    m_script.Start(scriptPath);
    RestoreLayout();
}

CAppDlg::~CAppDlg()
{
    // The tree goes with the dialog's children; its last signals find no handler.
    disconnect(m_tree, nullptr, this, nullptr);
    disconnect(m_tree, nullptr, &m_history, nullptr);
    delete m_overview;
    delete m_insight;
    m_insight = nullptr;
}

QSize CAppDlg::InitialSize() const
{
    return CDialogUnits(font()).Size(369, 231);
}

void CAppDlg::BuildControls()
{
    const CDialogUnits du(font());
    auto *label = new QLabel(QStringLiteral("&Script File Settings"), this);
    label->setBuddy(m_tree);
    m_tree->setAccessibleName(QStringLiteral("Script File Settings"));
    m_tree->setHeaderLabel(QStringLiteral("Setting"));
    m_insight = new CScriptInsight(
        *m_tree, [this]() -> const CSynchArray & { return m_script.Baseline(); }, m_recorder, this);
    m_overview = new COverviewWindow(*m_tree, m_recorder, m_insight->Checker(), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(4));
    layout->setSpacing(0);
    layout->addWidget(label);
    layout->addSpacing(du.Y(4));
    m_findBar = new CFindBar(*m_tree, this);
    layout->addWidget(m_findBar);
    // The overview shows the actions the find text finds.
    connect(m_findBar, &CFindBar::FilterChanged, m_overview, &COverviewWindow::SetFilterText);
    layout->addWidget(m_insight->Area(), 1);
    layout->addSpacing(du.Y(3));
    layout->addLayout(BuildButtons());
    resize(InitialSize());
}

QGridLayout *CAppDlg::BuildButtons()
{
    const CDialogUnits du(font());
    auto *buttons = new QGridLayout;
    buttons->setHorizontalSpacing(du.X(11));
    buttons->setVerticalSpacing(du.Y(5));
    buttons->addWidget(m_insight->ProblemsButton(), 1, 0);
    buttons->addWidget(m_insight->ValuesButton(), 1, 1);
    auto place = [&](QAbstractButton *button, int row, int column, auto handler) {
        // The template's size, or more where the text needs it.
        button->setMinimumSize(du.Size(50, 14).expandedTo(button->sizeHint()));
        connect(button, &QAbstractButton::clicked, this, handler);
        buttons->addWidget(button, row, column);
        return button;
    };
    for (int column = 0; column < kCommandCount; ++column) {
        const auto command = Command(column);
        auto *button = new QPushButton(QString::fromLatin1(LookOf(command).button), this);
        m_commandButtons[column] = place(button, 0, column, [this, command] { RunCommand(command); });
    }
    // Beside its own command, the scripts opened last.
    m_recentMenu = new QMenu(QStringLiteral("Open &Recent"), this);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CAppDlg::FillRecentMenu);
    place(new QPushButton(QStringLiteral("&Overview"), this), 1, 2, [this] { m_overview->Open(); });
    place(new CSplitButton(QStringLiteral("&Load Script"), m_recentMenu, this), 1, 3, &CAppDlg::OnLoadScript);
    auto *save = new QPushButton(QStringLiteral("Save"), this);
    save->setDefault(true);
    place(save, 1, 4, &CAppDlg::OnOK);
    place(new QPushButton(QStringLiteral("Close"), this), 1, 5, &CAppDlg::OnCancel);
    for (int column = 0; column < 6; ++column)
        buttons->setColumnStretch(column, 1);
    // Tab follows the screen from the top left: the tree, the values beside
    // it, the problems below, then the buttons row by row.
    QWidget *previous = m_tree;
    for (QWidget *next : std::initializer_list<QWidget *>{&m_insight->Values().List(), &m_insight->Problems().List()}) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 6; ++column)
            if (QLayoutItem *cell = buttons->itemAtPosition(row, column)) {
                setTabOrder(previous, cell->widget());
                previous = cell->widget();
            }
    return buttons;
}

void CAppDlg::BuildActions()
{
    auto add = [this](const char *text, QList<QKeySequence> keys, auto handler, QWidget *owner = nullptr) {
        auto *action = new QAction(QString::fromLatin1(text), this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
        if (owner) // the key works only there
            action->setShortcutContext(Qt::WidgetShortcut);
        (owner ? owner : this)->addAction(action);
        return action;
    };
    m_undo = add("&Undo", {QKeySequence::Undo}, &CAppDlg::OnUndo);
    m_redo = add("&Redo", {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                 &CAppDlg::OnRedo);
    for (int i = 0; i < kCommandCount; ++i) {
        const auto command = Command(i);
        const CommandLook &look = LookOf(command);
        // In an editor Delete belongs to the text.
        m_commandActions[i] = add(
            look.menu, look.keys, [this, command] { RunCommand(command); },
            command == Command::Delete ? m_tree : nullptr);
    }
    add("Save", {QKeySequence(Qt::CTRL | Qt::Key_S)}, &CAppDlg::OnOK);
    add("Save As", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, &CAppDlg::OnSaveAs);
    add("Load Script", {QKeySequence(Qt::CTRL | Qt::Key_O)}, &CAppDlg::OnLoadScript);
    add("Help", {QKeySequence(Qt::Key_F1)}, &CAppDlg::OnHelp);
    add("Find", {QKeySequence::Find}, [this] { m_findBar->Open(); });
    add("Find Next", {QKeySequence(Qt::Key_F3)}, [this] { m_findBar->Step(true); });
    add("Find Previous", {QKeySequence(Qt::SHIFT | Qt::Key_F3)}, [this] { m_findBar->Step(false); });
    add("Replace", {QKeySequence(Qt::CTRL | Qt::Key_H)}, &CAppDlg::OnReplace);
    add("Overview", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}, [this] { m_overview->Open(); });
    m_overview->addActions({m_undo, m_redo}); // its bulk edits are undone where they are made

    m_tree->installEventFilter(this);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CAppDlg::ShowTreeMenu);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommandStates(); });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateCommandStates(); });
    auto *toolTips = new CSettingToolTip(*m_tree);
    toolTips->SetDetail(
        [this](const QTreeWidgetItem *item) { return m_insight ? m_insight->ValueInEffectText(item) : QString(); });
    connect(m_tree, &CTreeOptionsCtrl::ItemChanged, &m_history,
            [this](const CTreeOptionsChange &change) { m_recorder.ItemChanged(change); });
    // An edit, an undo, a load or a save: the title and the commands follow.
    const auto follow = [this] {
        UpdateTitle();
        UpdateCommandStates();
    };
    connect(&m_history, &CEditHistory::Changed, this, follow);
    connect(&m_history, &CEditHistory::Changed, m_findBar, &CFindBar::Refresh);
    connect(&m_script, &CEditedScript::Changed, this, follow);
}

void CAppDlg::ShowTreeMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addActions({m_undo, m_redo});
    for (int i = 0; i < kCommandCount; ++i) {
        if (i == 0 || Command(i) == Command::MoveUp)
            menu.addSeparator();
        menu.addAction(m_commandActions[i]);
    }
    // From the keyboard the menu opens at the current item.
    QPoint at = pos;
    QTreeWidgetItem *current = m_tree->currentItem();
    if (current && m_tree->itemAt(pos) != current)
        at = m_tree->visualItemRect(current).bottomLeft();
    menu.exec(m_tree->viewport()->mapToGlobal(at));
}

// ---------------------------------------------------------------- commands

void CAppDlg::EndEditing()
{
    // Commands, keys and the window's close button reach the dialog while an
    // in-place editor still holds its value, and its item shows the label alone.
    m_tree->CommitAndEndEdit();
}

void CAppDlg::RunCommand(Command command)
{
    EndEditing();
    switch (command) {
    case Command::RepeatAction:
        m_recorder.AddRoot([this] { m_commands.RepeatAction(); });
        break;
    case Command::NewAction:
        m_recorder.AddRoot([this] { m_commands.NewAction(); });
        break;
    case Command::Delete:
        if (m_commands.SelectedItem())
            m_recorder.DeleteCurrent();
        break;
    case Command::ShowAll:
        m_recorder.ChangeRoot([this] { m_commands.ShowAll(); });
        break;
    case Command::MoveUp:
        m_recorder.MoveRoot([this] { m_commands.MoveUp(); });
        break;
    case Command::MoveDown:
        m_recorder.MoveRoot([this] { m_commands.MoveDown(); });
        break;
    }
    UpdateCommandStates();
}

void CAppDlg::OnUndo()
{
    EndEditing();
    m_history.Undo();
}

void CAppDlg::OnRedo()
{
    EndEditing();
    m_history.Redo();
}

void CAppDlg::UpdateCommandStates()
{
    QTreeWidgetItem *selected = m_commands.SelectedItem();
    const CActionCommands::MoveStates moves = m_commands.MoveStatesFor(selected);
    for (int i = 0; i < kCommandCount; ++i) {
        const bool enabled = IsEnabled(Command(i), selected != nullptr, moves);
        m_commandButtons[i]->setEnabled(enabled);
        if (m_commandActions[i])
            m_commandActions[i]->setEnabled(enabled);
    }
    if (!m_undo)
        return;
    m_undo->setEnabled(m_history.CanUndo());
    m_redo->setEnabled(m_history.CanRedo());
}

void CAppDlg::UpdateTitle()
{
    const QString path = m_script.Path();
    const QString name = path.isEmpty() ? QStringLiteral("New script") : ShownFileName(QFileInfo(path).fileName());
    setWindowTitle(QStringLiteral("%1[*] \u2014 Script Editor").arg(name));
    setWindowModified(!m_history.IsClean());
}

void CAppDlg::OnHelp()
{
    EndEditing();
    // At the entry of the selected setting; the overview for anything else.
    const QTreeWidgetItem *current = m_tree->currentItem();
    m_help.Open(current && current->isSelected() && current->parent()
                    ? CSettingGuide::AnchorForItemText(current->text(0))
                    : QString());
}

// ------------------------------------------------- loading, saving, closing

void CAppDlg::OnLoadScript()
{
    EndEditing();
    m_script.LoadChosen();
}

void CAppDlg::OnOK()
{
    EndEditing();
    m_script.Save();
}

void CAppDlg::OnSaveAs()
{
    EndEditing();
    m_script.SaveAs();
}

void CAppDlg::OnOpenScript(const QString &path)
{
    EndEditing();
    m_script.Open(path);
}

void CAppDlg::OnCancel()
{
    EndEditing();
    if (m_script.Close())
        QDialog::reject();
}

void CAppDlg::OnReplace()
{
    EndEditing();
    auto *dialog = new CReplaceDialog(*m_tree, CActionNamer::RootOf(m_commands.SelectedItem()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &CReplaceDialog::Replace, this, [this](const std::vector<CReplaceDialog::Change> &changes) {
        std::vector<std::pair<QTreeWidgetItem *, QString>> values;
        for (const CReplaceDialog::Change &change : changes)
            values.emplace_back(change.m_pItem, change.m_strValue);
        m_recorder.SetValues(values);
    });
    dialog->open();
    dialog->activateWindow();
}

void CAppDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter is Save only from the tree: in a list it has done that list's
    // work (jumped to a problem), and an editor keeps it to itself.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && QApplication::focusWidget() != m_tree) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CAppDlg::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+Up and Ctrl+Down are the moves; where a move does not apply the
    // tree would take them to move its current item without selecting it.
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CAppDlg::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls[0].isLocalFile())
        event->acceptProposedAction();
}

void CAppDlg::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls[0].isLocalFile())
        return;
    event->acceptProposedAction();
    activateWindow();
    // The drag's source waits for the drop to end: the question and the load come after.
    const QString path = FileNameFromUrl(urls[0]);
    QMetaObject::invokeMethod(
        this, [this, path] { OnOpenScript(path); }, Qt::QueuedConnection);
}

void CAppDlg::done(int result)
{
    SaveLayout();
    QDialog::done(result);
}

// ------------------------------------------- what the next start remembers

void CAppDlg::FillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = CRecentScripts::Read(CEditorSettings());
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        // "&1 /folder/name": the number is the entry's key.
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction *entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(entry, &QAction::triggered, this, [this, path] {
            EndEditing();
            m_script.OpenRecent(path);
        });
    }
    if (paths.isEmpty())
        m_recentMenu->addAction(QStringLiteral("No recent scripts"))->setEnabled(false);
}

void CAppDlg::RestoreLayout()
{
    const CEditorSettings settings;
    const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    // A first start: the tree keeps the template's width, the values pane
    // beside it adds its own.
    const QMargins margins = layout()->contentsMargins();
    const int treeWidth = width() - margins.left() - margins.right();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(width() + m_insight->Values().FirstWidth(), height());
    m_insight->RestoreLayout(settings, treeWidth);
}

void CAppDlg::SaveLayout() const
{
    CEditorSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    m_insight->SaveLayout(settings);
}
