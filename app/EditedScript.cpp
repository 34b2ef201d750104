#include "app/EditedScript.h"

#include "app/ActionCommands.h"
#include "app/ActionNamer.h"
#include "app/ChangeDetector.h"
#include "app/EditHistory.h"
#include "app/EditorSettings.h"
#include "app/LeftCopyOffer.h"
#include "app/RecentScripts.h"
#include "app/RootStash.h"
#include "app/ScriptPathCheck.h"
#include "framework/FileName.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QFileInfo>
#include <QTreeWidgetItem>

namespace {

// Both file dialogs offer every file.
QString ScriptFileFilter()
{
    return QStringLiteral("All Files|*.*||");
}

// Tells the user once that a file just loaded holds no script sections.
void TellIfNoSections(const CSynchArray &actions)
{
    const CScriptFile &file = actions.m_ScriptFile;
    if (file.GetCount() == 0 && file.GetPreambleCount() > 0)
        ModalUi().ShowMessage(QStringLiteral("%1 holds no script sections: it may not be a script. "
                                             "A save keeps what it holds as it stands "
                                             "and writes the script's sections after it.")
                                  .arg(ShownFileName(file.m_strPath)));
}

// A script opened or saved joins the recent scripts.
void RememberScript(const QString &path)
{
    CEditorSettings settings;
    CRecentScripts::Add(settings, path);
}

} // namespace

CEditedScript::CEditedScript(CTreeOptionsCtrl &tree, CActionCommands &commands, CEditHistory &history, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
    , m_commands(commands)
    , m_history(history)
    , m_baseline(std::make_unique<CSynchArray>())
    , m_recovery(tree, history, [this]() -> const CSynchArray & { return *m_baseline; })
{
}

CEditedScript::~CEditedScript() = default;

// ---------------------------------------------------------------- start-up

void CEditedScript::Start(const QString &path)
{
    const CScriptPathCheck::Kind kind =
        path.isEmpty() ? CScriptPathCheck::Kind::Missing : CScriptPathCheck::Check(path);
    bool opened = false;
    if (kind == CScriptPathCheck::Kind::Missing) {
        // A path that does not exist yet names a new script, which Save creates.
        StartNewScript();
        m_strPath = path;
        opened = true;
    } else if (kind == CScriptPathCheck::Kind::File) {
        CLeftCopyOffer::Offer(path);
        auto actions = std::make_unique<CSynchArray>();
        LoadScriptWithTree(*actions, path, m_tree);
        opened = actions->m_ScriptFile.LastReadStatus() != ScriptReadStatus::Failed;
        if (opened) {
            m_strPath = path;
            RememberScript(path);
            TellIfNoSections(*actions);
            SetBaseline(std::move(actions), true);
        } else {
            m_tree.clear();
        }
    } else {
        ModalUi().ShowMessage(CScriptPathCheck::Refusal(path, kind));
    }
    // What is there but cannot be read is never saved over by accident: the
    // user has been told why, and a new, unnamed script opens.
    if (!opened)
        StartNewScript();
    m_history.Clear();
    m_recovery.Open(m_strPath);
    emit Changed();
}

void CEditedScript::StartNewScript()
{
    m_strPath.clear();
    QTreeWidgetItem *defaultRoot = InsertActionRoot(m_tree, CActionNamer::DefaultName());
    m_tree.setCurrentItem(defaultRoot);
    CompleteAction(m_tree, defaultRoot, CompletionValues::Initial);
    m_commands.RepeatAction();
    if (QTreeWidgetItem *current = m_tree.currentItem())
        current->setExpanded(true);
    // The baseline of a new script is the script as it starts, taken the
    // same way as every later check, so an untouched new script is unchanged.
    const CSynchArray empty;
    std::unique_ptr<CSynchArray> start = CChangeDetector::ReadBack(m_tree, empty);
    const bool known = start != nullptr;
    SetBaseline(known ? std::move(start) : std::make_unique<CSynchArray>(), known);
}

void CEditedScript::SetBaseline(std::unique_ptr<CSynchArray> baseline, bool known)
{
    m_baseline = std::move(baseline);
    m_bBaselineKnown = known;
}

// ------------------------------------------------- loading, saving, closing

bool CEditedScript::IsModified() const
{
    return !m_bBaselineKnown || CChangeDetector::IsScriptModified(m_tree, *m_baseline);
}

bool CEditedScript::SaveQuestion()
{
    // What the title marks as unsaved is never dropped without asking, nor
    // is a tree that would save other settings than the file holds.
    if (m_history.IsClean() && !IsModified())
        return true;
    const QString prompt = m_strPath.isEmpty() ? QStringLiteral("Save changes to the new script?")
                                               : QStringLiteral("Save changes to %1?").arg(ShownFileName(m_strPath));
    switch (ModalUi().AskSaveDiscardCancel(prompt)) {
    case SaveAnswer::Save:
        return Save();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool CEditedScript::SaveTo(QString path)
{
    if (path.isEmpty()) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.filter = ScriptFileFilter();
        request.overwritePrompt = true;
        // Save As proposes the script's own name and folder.
        if (!m_strPath.isEmpty()) {
            request.initialDir = QFileInfo(m_strPath).absolutePath();
            request.initialFile = QFileInfo(m_strPath).fileName();
        }
        const std::optional<QString> chosen = ModalUi().ChooseFile(request);
        if (!chosen || chosen->isEmpty())
            return false;
        path = *chosen;
    }
    // A failed write has been reported; the old file, path and baseline stay.
    if (!WriteScript(*m_baseline, path, m_tree))
        return false;
    auto written = std::make_unique<CSynchArray>();
    LoadOptions options;
    options.reportInvalidDates = false; // the user heard of them when the script was loaded
    written->LoadScript(path, nullptr, options);
    const bool known = written->m_ScriptFile.LastReadStatus() != ScriptReadStatus::Failed;
    m_strPath = path;
    RememberScript(path);
    SetBaseline(std::move(written), known);
    m_history.SetClean();
    m_recovery.Saved(path);
    emit Changed();
    return true;
}

bool CEditedScript::Load(const QString &path)
{
    const CScriptPathCheck::Kind kind = CScriptPathCheck::Check(path);
    if (kind == CScriptPathCheck::Kind::Folder || kind == CScriptPathCheck::Kind::Special) {
        ModalUi().ShowMessage(CScriptPathCheck::Refusal(path, kind));
        return false;
    }
    CLeftCopyOffer::Offer(path);
    auto actions = std::make_unique<CSynchArray>();
    {
        CRedrawGuard noRedraw(&m_tree);
        CRootStash previous(m_tree);
        LoadScriptWithTree(*actions, path, m_tree);
        if (actions->m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed) {
            // The reader has said why; the script being edited stays.
            previous.Restore();
            return false;
        }
    }
    m_strPath = path;
    RememberScript(path);
    TellIfNoSections(*actions);
    SetBaseline(std::move(actions), true);
    m_history.Clear();
    m_recovery.Open(path);
    emit Changed();
    return true;
}

void CEditedScript::LoadChosen()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.filter = ScriptFileFilter();
    request.fileMustExist = true;
    if (!m_strPath.isEmpty())
        request.initialDir = QFileInfo(m_strPath).absolutePath();
    if (!SaveQuestion())
        return;
    const std::optional<QString> chosen = ModalUi().ChooseFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    Load(*chosen);
}

void CEditedScript::Open(const QString &path)
{
    if (SaveQuestion())
        Load(path);
}

void CEditedScript::OpenRecent(const QString &path)
{
    if (!SaveQuestion())
        return;
    if (!Load(path)) {
        // The user has been told why; the entry would only fail again.
        CEditorSettings settings;
        CRecentScripts::Remove(settings, path);
    }
}

bool CEditedScript::Close()
{
    if (!SaveQuestion())
        return false;
    m_recovery.Discard();
    return true;
}
