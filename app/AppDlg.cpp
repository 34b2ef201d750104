#include "app/AppDlg.h"

#include "app/ActionNamer.h"
#include "app/AppIcon.h"
#include "app/ChangeDetector.h"
#include "app/DialogUnits.h"
#include "app/RootStash.h"
#include "app/ScriptInsight.h"
#include "app/SettingGuide.h"
#include "app/SettingToolTip.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"
#include "script/tree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
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
    , m_help(QCoreApplication::applicationDirPath(), this)
{
    setWindowTitle(QStringLiteral("Script Editor"));
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    BuildControls();
    OnInitDialog(scriptPath);
}

CAppDlg::~CAppDlg()
{
    // The tree goes with the dialog's children; its last signals find no handler.
    disconnect(m_tree, nullptr, this, nullptr);
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

    struct ButtonSpec
    {
        const char *text;
        void (CAppDlg::*handler)();
        int row, column;
    };
    const ButtonSpec specs[] = {
        {"&Repeat Action", &CAppDlg::OnRepeatAction, 0, 0}, {"&New Action", &CAppDlg::OnNewAction, 0, 1},
        {"&Delete", &CAppDlg::OnDelete, 0, 2},              {"Show &All", &CAppDlg::OnShowAll, 0, 3},
        {"Move &Up", &CAppDlg::OnMoveUp, 0, 4},             {"Move &Down", &CAppDlg::OnMoveDown, 0, 5},
        {"&Load Script", &CAppDlg::OnLoadScript, 1, 3},     {"Save", &CAppDlg::OnOK, 1, 4},
        {"Close", &CAppDlg::OnCancel, 1, 5},
    };
    auto *buttons = new QGridLayout;
    buttons->setHorizontalSpacing(du.X(11));
    buttons->setVerticalSpacing(du.Y(5));
    QWidget *previous = m_tree;
    for (const ButtonSpec &entry : specs) {
        auto *button = new QPushButton(QString::fromLatin1(entry.text), this);
        // The template's size, or more where the text needs it.
        button->setMinimumSize(du.Size(50, 14).expandedTo(button->sizeHint()));
        connect(button, &QPushButton::clicked, this, entry.handler);
        buttons->addWidget(button, entry.row, entry.column);
        setTabOrder(previous, button);
        previous = button;
        if (entry.handler == &CAppDlg::OnMoveUp)
            m_btnMoveUp = button;
        else if (entry.handler == &CAppDlg::OnMoveDown)
            m_btnMoveDown = button;
        else if (entry.handler == &CAppDlg::OnOK)
            button->setDefault(true);
    }
    m_insight = new CScriptInsight(*m_tree, [this]() -> const CSynchArray & { return *m_actions; }, this);
    buttons->addWidget(m_insight->ProblemsButton(), 1, 0);
    buttons->addWidget(m_insight->ValuesButton(), 1, 1);
    for (int column = 0; column < 6; ++column)
        buttons->setColumnStretch(column, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(4));
    layout->setSpacing(0);
    layout->addWidget(label);
    layout->addSpacing(du.Y(4));
    layout->addWidget(m_insight->Area(), 1);
    layout->addSpacing(du.Y(3));
    layout->addLayout(buttons);
    resize(InitialSize());

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { OnSelchangedTree(current); });
    auto *toolTips = new CSettingToolTip(*m_tree);
    toolTips->SetDetail([this](const QTreeWidgetItem *item) {
        return m_insight ? m_insight->ValueInEffectText(item) : QString();
    });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &CAppDlg::OnHelp);
}

// ---------------------------------------------------------------- start-up

void CAppDlg::OnInitDialog(const QString &scriptPath)
{
    if (scriptPath.isEmpty()) {
        StartNewScript();
        return;
    }
    auto actions = std::make_unique<CSynchArray>();
    LoadScriptWithTree(*actions, scriptPath, *m_tree);
    if (actions->m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed && QFileInfo::exists(scriptPath)) {
        // A file that is there but cannot be read is never saved over by
        // accident: the reader has said why, and a new, unnamed script opens.
        m_tree->clear();
        StartNewScript();
        return;
    }
    // A path that does not exist yet gives an empty script that Save creates.
    m_strScriptPath = scriptPath;
    SetBaseline(std::move(actions), true);
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
    // Enter, Esc and the window's close button reach the dialog while an
    // in-place editor still holds its value, and its item shows the label alone.
    m_tree->CommitAndEndEdit();
}

void CAppDlg::OnShowAll()
{
    EndEditing();
    m_commands.ShowAll();
}

void CAppDlg::OnRepeatAction()
{
    EndEditing();
    m_commands.RepeatAction();
}

void CAppDlg::OnNewAction()
{
    EndEditing();
    m_commands.NewAction();
}

void CAppDlg::OnDelete()
{
    EndEditing();
    m_commands.Delete();
}

void CAppDlg::OnMoveUp()
{
    EndEditing();
    m_commands.MoveUp();
}

void CAppDlg::OnMoveDown()
{
    EndEditing();
    m_commands.MoveDown();
}

void CAppDlg::OnSelchangedTree(QTreeWidgetItem *current)
{
    const CActionCommands::MoveStates states = m_commands.MoveStatesFor(current);
    m_btnMoveUp->setEnabled(states.up);
    m_btnMoveDown->setEnabled(states.down);
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
    if (!IsScriptModified())
        return true;
    const QString prompt = m_strScriptPath.isEmpty()
                               ? QStringLiteral("Save changes to the new script?")
                               : QStringLiteral("Save changes to %1?").arg(QDir::toNativeSeparators(m_strScriptPath));
    if (!ModalUi().AskYesNo(prompt))
        return true;
    return SaveScript();
}

bool CAppDlg::SaveScript()
{
    QString path = m_strScriptPath;
    if (path.isEmpty()) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.filter = ScriptFileFilter();
        request.overwritePrompt = true;
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
    SetBaseline(std::move(written), known);
    return true;
}

bool CAppDlg::LoadScriptFile(const QString &path)
{
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
    SetBaseline(std::move(actions), true);
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

void CAppDlg::OnCancel()
{
    EndEditing();
    if (SaveQuestion())
        QDialog::reject();
}
