#include "app/AppDlg.h"

#include "app/ActionNamer.h"
#include "app/AppIcon.h"
#include "app/ChangeDetector.h"
#include "app/DialogUnits.h"
#include "app/EditorSettings.h"
#include "app/LeftCopyOffer.h"
#include "app/ProblemsPane.h"
#include "app/RecentScripts.h"
#include "app/RootStash.h"
#include "app/ScriptInsight.h"
#include "app/ScriptPathCheck.h"
#include "app/SettingGuide.h"
#include "app/SettingToolTip.h"
#include "framework/FileName.h"
#include "app/SplitButton.h"
#include "app/ValuesPane.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"
#include "script/tree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Both file dialogs offer every file.
QString ScriptFileFilter() { return QStringLiteral("All Files|*.*||"); }

} // namespace

CAppDlg::CAppDlg(const QString &scriptPath, QWidget *parent)
    : QDialog(parent)
    , m_tree(new CTreeOptionsCtrl(this))
    , m_actions(std::make_unique<CSynchArray>())
    , m_commands(*m_tree)
    , m_history(*m_tree)
    , m_recorder(*m_tree, m_history)
    , m_help(QCoreApplication::applicationDirPath(), this)
    , m_recovery(*m_tree, m_history, [this]() -> const CSynchArray & { return *m_actions; })
{
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    setAcceptDrops(true);
    BuildControls();
    BuildActions();
    OnInitDialog(scriptPath);
    m_history.Clear();
    m_recovery.Open(m_strScriptPath);
    UpdateTitle();
    UpdateCommandStates();
    RestoreLayout();
}

CAppDlg::~CAppDlg()
{
    // The tree goes with the dialog's children; its last signals find no handler.
    disconnect(m_tree, nullptr, this, nullptr);
    disconnect(m_tree, nullptr, &m_history, nullptr);
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
    m_insight = new CScriptInsight(*m_tree, [this]() -> const CSynchArray & { return *m_actions; }, m_recorder, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(4));
    layout->setSpacing(0);
    layout->addWidget(label);
    layout->addSpacing(du.Y(4));
    layout->addWidget(m_insight->Area(), 1);
    layout->addSpacing(du.Y(3));
    layout->addLayout(BuildButtons());
    resize(InitialSize());
}

QGridLayout *CAppDlg::BuildButtons()
{
    const CDialogUnits du(font());
    struct ButtonSpec
    {
        const char *text;
        void (CAppDlg::*handler)();
        int row, column;
    };
    const ButtonSpec specs[] = {
        {"&Repeat Action", &CAppDlg::OnRepeatAction, 0, 0}, {"&New Action", &CAppDlg::OnNewAction, 0, 1},
        {"&Delete", &CAppDlg::OnDelete, 0, 2},              {"Show &All", &CAppDlg::OnShowAll, 0, 3},
        {"Move &Up", &CAppDlg::OnMoveUp, 0, 4},             {"Move Do&wn", &CAppDlg::OnMoveDown, 0, 5},
        {"&Load Script", &CAppDlg::OnLoadScript, 1, 3},     {"Save", &CAppDlg::OnOK, 1, 4},
        {"Close", &CAppDlg::OnCancel, 1, 5},
    };
    auto *buttons = new QGridLayout;
    buttons->setHorizontalSpacing(du.X(11));
    buttons->setVerticalSpacing(du.Y(5));
    buttons->addWidget(m_insight->ProblemsButton(), 1, 0);
    buttons->addWidget(m_insight->ValuesButton(), 1, 1);
    for (const ButtonSpec &entry : specs) {
        const QString text = QString::fromLatin1(entry.text);
        QAbstractButton *button = nullptr;
        if (entry.handler == &CAppDlg::OnLoadScript) {
            // Beside its own command, the scripts opened last.
            m_recentMenu = new QMenu(QStringLiteral("Open &Recent"), this);
            connect(m_recentMenu, &QMenu::aboutToShow, this, &CAppDlg::FillRecentMenu);
            button = new CSplitButton(text, m_recentMenu, this);
        } else {
            auto *push = new QPushButton(text, this);
            push->setDefault(entry.handler == &CAppDlg::OnOK);
            button = push;
        }
        // The template's size, or more where the text needs it.
        button->setMinimumSize(du.Size(50, 14).expandedTo(button->sizeHint()));
        connect(button, &QAbstractButton::clicked, this, entry.handler);
        buttons->addWidget(button, entry.row, entry.column);
        if (entry.handler == &CAppDlg::OnMoveUp)
            m_btnMoveUp = button;
        else if (entry.handler == &CAppDlg::OnMoveDown)
            m_btnMoveDown = button;
        else if (entry.handler != &CAppDlg::OnNewAction && entry.row == 0)
            m_btnsOnSelection.push_back(button);
    }
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
    auto add = [this](const char *text, QList<QKeySequence> keys, void (CAppDlg::*handler)(),
                      QWidget *owner = nullptr) {
        auto *action = new QAction(QString::fromLatin1(text), this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
        if (owner) // the key works only there
            action->setShortcutContext(Qt::WidgetShortcut);
        (owner ? owner : this)->addAction(action);
        return action;
    };
    m_act.undo = add("&Undo", {QKeySequence::Undo}, &CAppDlg::OnUndo);
    m_act.redo = add("&Redo", {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                     &CAppDlg::OnRedo);
    m_act.repeat = add("R&epeat Action", {QKeySequence(Qt::CTRL | Qt::Key_R)}, &CAppDlg::OnRepeatAction);
    m_act.add = add("&New Action", {QKeySequence(Qt::CTRL | Qt::Key_N)}, &CAppDlg::OnNewAction);
    // In an editor Delete belongs to the text.
    m_act.remove = add("&Delete", {QKeySequence::Delete}, &CAppDlg::OnDelete, m_tree);
    m_act.showAll = add("Show &All", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)}, &CAppDlg::OnShowAll);
    // Ctrl+Up and Ctrl+Down would move the tree's current item without
    // selecting it; here they move the selected action.
    m_act.moveUp = add("Move U&p", {QKeySequence(Qt::CTRL | Qt::Key_Up)}, &CAppDlg::OnMoveUp);
    m_act.moveDown = add("Move Do&wn", {QKeySequence(Qt::CTRL | Qt::Key_Down)}, &CAppDlg::OnMoveDown);
    add("Save", {QKeySequence(Qt::CTRL | Qt::Key_S)}, &CAppDlg::OnOK);
    add("Save As", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, &CAppDlg::OnSaveAs);
    add("Load Script", {QKeySequence(Qt::CTRL | Qt::Key_O)}, &CAppDlg::OnLoadScript);
    add("Help", {QKeySequence(Qt::Key_F1)}, &CAppDlg::OnHelp);

    m_tree->installEventFilter(this);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CAppDlg::ShowTreeMenu);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommandStates(); });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateCommandStates(); });
    auto *toolTips = new CSettingToolTip(*m_tree);
    toolTips->SetDetail([this](const QTreeWidgetItem *item) {
        return m_insight ? m_insight->ValueInEffectText(item) : QString();
    });
    connect(m_tree, &CTreeOptionsCtrl::ItemChanged, &m_history,
            [this](const CTreeOptionsChange &change) { m_recorder.ItemChanged(change); });
    connect(&m_history, &CEditHistory::Changed, this, [this] {
        UpdateTitle();
        UpdateCommandStates();
    });
}

void CAppDlg::ShowTreeMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addActions({m_act.undo, m_act.redo});
    menu.addSeparator();
    menu.addActions({m_act.repeat, m_act.add, m_act.remove, m_act.showAll});
    menu.addSeparator();
    menu.addActions({m_act.moveUp, m_act.moveDown});
    // From the keyboard the menu opens at the current item.
    QPoint at = pos;
    QTreeWidgetItem *current = m_tree->currentItem();
    if (current && m_tree->itemAt(pos) != current)
        at = m_tree->visualItemRect(current).bottomLeft();
    menu.exec(m_tree->viewport()->mapToGlobal(at));
}

// ---------------------------------------------------------------- start-up

void CAppDlg::OnInitDialog(const QString &scriptPath)
{
    const CScriptPathCheck::Kind kind = scriptPath.isEmpty() ? CScriptPathCheck::Kind::Missing
                                                             : CScriptPathCheck::Check(scriptPath);
    if (kind == CScriptPathCheck::Kind::Missing) {
        // A path that does not exist yet names a new script, which Save creates.
        StartNewScript();
        m_strScriptPath = scriptPath;
        return;
    }
    if (kind == CScriptPathCheck::Kind::File) {
        CLeftCopyOffer::Offer(scriptPath);
        auto actions = std::make_unique<CSynchArray>();
        LoadScriptWithTree(*actions, scriptPath, *m_tree);
        if (actions->m_ScriptFile.LastReadStatus() != ScriptReadStatus::Failed) {
            m_strScriptPath = scriptPath;
            RememberScript(scriptPath);
            TellIfNoSections(*actions);
            SetBaseline(std::move(actions), true);
            return;
        }
        m_tree->clear();
    } else {
        ModalUi().ShowMessage(CScriptPathCheck::Refusal(scriptPath, kind));
    }
    // What is there but cannot be read is never saved over by accident: the
    // user has been told why, and a new, unnamed script opens.
    StartNewScript();
}

void CAppDlg::TellIfNoSections(const CSynchArray &actions)
{
    const CScriptFile &file = actions.m_ScriptFile;
    if (file.GetCount() == 0 && file.GetPreambleCount() > 0)
        ModalUi().ShowMessage(QStringLiteral("%1 holds no script sections: it may not be a script. "
                                             "A save keeps what it holds as it stands "
                                             "and writes the script's sections after it.")
                                  .arg(ShownFileName(file.m_strPath)));
}

void CAppDlg::StartNewScript()
{
    m_strScriptPath.clear();
    QTreeWidgetItem *defaultRoot = InsertActionRoot(*m_tree, CActionNamer::DefaultName());
    m_tree->setCurrentItem(defaultRoot);
    CompleteAction(*m_tree, defaultRoot, CompletionValues::Initial);
    m_commands.RepeatAction();
    if (QTreeWidgetItem *current = m_tree->currentItem())
        current->setExpanded(true);
    // The baseline of a new script is the script as it starts, taken the
    // same way as every later check, so an untouched new script is unchanged.
    const CSynchArray empty;
    std::unique_ptr<CSynchArray> start = CChangeDetector::ReadBack(*m_tree, empty);
    const bool known = start != nullptr;
    SetBaseline(known ? std::move(start) : std::make_unique<CSynchArray>(), known);
}

void CAppDlg::SetBaseline(std::unique_ptr<CSynchArray> actions, bool known)
{
    m_actions = std::move(actions);
    m_bBaselineKnown = known;
}

// ---------------------------------------------------------------- commands

void CAppDlg::EndEditing()
{
    // Commands, keys and the window's close button reach the dialog while an
    // in-place editor still holds its value, and its item shows the label alone.
    m_tree->CommitAndEndEdit();
}

void CAppDlg::OnShowAll()
{
    EndEditing();
    m_recorder.ChangeRoot([this] { m_commands.ShowAll(); });
    UpdateCommandStates();
}

void CAppDlg::OnRepeatAction()
{
    EndEditing();
    m_recorder.AddRoot([this] { m_commands.RepeatAction(); });
    UpdateCommandStates();
}

void CAppDlg::OnNewAction()
{
    EndEditing();
    m_recorder.AddRoot([this] { m_commands.NewAction(); });
    UpdateCommandStates();
}

void CAppDlg::OnDelete()
{
    EndEditing();
    if (m_commands.SelectedItem())
        m_recorder.DeleteCurrent();
    UpdateCommandStates();
}

void CAppDlg::OnMoveUp()
{
    EndEditing();
    m_recorder.MoveRoot([this] { m_commands.MoveUp(); });
    UpdateCommandStates();
}

void CAppDlg::OnMoveDown()
{
    EndEditing();
    m_recorder.MoveRoot([this] { m_commands.MoveDown(); });
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
    // Commands act on what shows selected: a current item whose highlight a
    // click on the blank area took away is not.
    QTreeWidgetItem *selected = m_commands.SelectedItem();
    const CActionCommands::MoveStates states = m_commands.MoveStatesFor(selected);
    m_btnMoveUp->setEnabled(states.up);
    m_btnMoveDown->setEnabled(states.down);
    for (QAbstractButton *button : m_btnsOnSelection)
        button->setEnabled(selected != nullptr);
    if (!m_act.undo)
        return;
    m_act.moveUp->setEnabled(states.up);
    m_act.moveDown->setEnabled(states.down);
    m_act.undo->setEnabled(m_history.CanUndo());
    m_act.redo->setEnabled(m_history.CanRedo());
    for (QAction *action : {m_act.repeat, m_act.remove, m_act.showAll})
        action->setEnabled(selected != nullptr);
}

void CAppDlg::UpdateTitle()
{
    const QString name = m_strScriptPath.isEmpty() ? QStringLiteral("New script")
                                                   : ShownFileName(QFileInfo(m_strScriptPath).fileName());
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

bool CAppDlg::IsScriptModified() const
{
    return !m_bBaselineKnown || CChangeDetector::IsScriptModified(*m_tree, *m_actions);
}

bool CAppDlg::SaveQuestion()
{
    // What the title marks as unsaved is never dropped without asking, nor
    // is a tree that would save other settings than the file holds.
    if (m_history.IsClean() && !IsScriptModified())
        return true;
    const QString prompt = m_strScriptPath.isEmpty()
                               ? QStringLiteral("Save changes to the new script?")
                               : QStringLiteral("Save changes to %1?").arg(ShownFileName(m_strScriptPath));
    switch (ModalUi().AskSaveDiscardCancel(prompt)) {
    case SaveAnswer::Save:
        return SaveScript();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool CAppDlg::SaveScript(bool choosePath)
{
    QString path = choosePath ? QString() : m_strScriptPath;
    if (path.isEmpty()) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.filter = ScriptFileFilter();
        request.overwritePrompt = true;
        // Save As proposes the script's own name and folder.
        if (!m_strScriptPath.isEmpty()) {
            request.initialDir = QFileInfo(m_strScriptPath).absolutePath();
            request.initialFile = QFileInfo(m_strScriptPath).fileName();
        }
        const std::optional<QString> chosen = ModalUi().ChooseFile(request);
        if (!chosen || chosen->isEmpty())
            return false;
        path = *chosen;
    }
    // A failed write has been reported; the old file, path and baseline stay.
    if (!WriteScript(*m_actions, path, *m_tree))
        return false;
    auto written = std::make_unique<CSynchArray>();
    LoadOptions options;
    options.reportInvalidDates = false; // the user heard of them when the script was loaded
    written->LoadScript(path, nullptr, options);
    const bool known = written->m_ScriptFile.LastReadStatus() != ScriptReadStatus::Failed;
    m_strScriptPath = path;
    RememberScript(path);
    SetBaseline(std::move(written), known);
    m_history.SetClean();
    m_recovery.Saved(path);
    UpdateTitle();
    return true;
}

bool CAppDlg::LoadScriptFile(const QString &path)
{
    const CScriptPathCheck::Kind kind = CScriptPathCheck::Check(path);
    if (kind == CScriptPathCheck::Kind::Folder || kind == CScriptPathCheck::Kind::Special) {
        ModalUi().ShowMessage(CScriptPathCheck::Refusal(path, kind));
        return false;
    }
    CLeftCopyOffer::Offer(path);
    auto actions = std::make_unique<CSynchArray>();
    {
        CRedrawGuard noRedraw(m_tree);
        CRootStash previous(*m_tree);
        LoadScriptWithTree(*actions, path, *m_tree);
        if (actions->m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed) {
            // The reader has said why; the script being edited stays.
            previous.Restore();
            return false;
        }
    }
    m_strScriptPath = path;
    RememberScript(path);
    TellIfNoSections(*actions);
    SetBaseline(std::move(actions), true);
    m_history.Clear();
    m_recovery.Open(path);
    UpdateTitle();
    UpdateCommandStates();
    return true;
}

void CAppDlg::OnLoadScript()
{
    EndEditing();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.filter = ScriptFileFilter();
    request.fileMustExist = true;
    if (!m_strScriptPath.isEmpty())
        request.initialDir = QFileInfo(m_strScriptPath).absolutePath();
    if (!SaveQuestion())
        return;
    const std::optional<QString> chosen = ModalUi().ChooseFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    LoadScriptFile(*chosen);
}

void CAppDlg::OnOK()
{
    EndEditing();
    SaveScript();
}

void CAppDlg::OnSaveAs()
{
    EndEditing();
    SaveScript(true);
}

void CAppDlg::OnOpenScript(const QString &path)
{
    EndEditing();
    if (SaveQuestion())
        LoadScriptFile(path);
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
    QMetaObject::invokeMethod(this, [this, path] { OnOpenScript(path); }, Qt::QueuedConnection);
}

void CAppDlg::OnCancel()
{
    EndEditing();
    if (!SaveQuestion())
        return;
    m_recovery.Discard();
    QDialog::reject();
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
        connect(entry, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    if (paths.isEmpty())
        m_recentMenu->addAction(QStringLiteral("No recent scripts"))->setEnabled(false);
}

void CAppDlg::OpenRecent(const QString &path)
{
    EndEditing();
    if (!SaveQuestion())
        return;
    if (!LoadScriptFile(path)) {
        // The user has been told why; the entry would only fail again.
        CEditorSettings settings;
        CRecentScripts::Remove(settings, path);
    }
}

void CAppDlg::RememberScript(const QString &path)
{
    CEditorSettings settings;
    CRecentScripts::Add(settings, path);
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
